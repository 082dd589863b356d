#include "curveeditsession.h"

#include "curveeditordialog.h"
#include "curveview.h"

CurveDescriptor placeholderCurveDescriptor()
{
    return CurveDescriptor(QStringLiteral("Curve editor"), QStringLiteral("x"), QStringLiteral("y"),
                           -100.0f, 100.0f, -100.0f, 100.0f, 0.0f, false, 0.0f, false);
}

void editCurveInDialog(QWidget* editor, CurveDescriptor& descriptor, ResponseCurve* curve,
                       CurveView* preview, const std::function<void()>& changed)
{
    CurveEditorDialog dialog(editor);
    dialog.setWindowTitle(descriptor.title);
    dialog.setReferenceLevel(descriptor.referenceLevel, descriptor.referenceVisible);
    dialog.setFixedFirstOutput(descriptor.firstOutput, descriptor.firstOutputFixed);
    dialog.setInputRange(descriptor.xMin, descriptor.xMax);
    dialog.setOutputRange(descriptor.yMin, descriptor.yMax);
    dialog.setAxisNames(descriptor.xLabel, descriptor.yLabel);
    QObject::connect(&dialog, &CurveEditorDialog::curveChanged, editor, [&changed] { changed(); });
    if (!curve)
        return;

    descriptor.curve.assign(*curve);
    dialog.setCurve(curve->points);
    if (dialog.exec() == 0) {
        curve->assign(descriptor.curve);
        changed();
    }
    if (preview)
        preview->setCurve(curve->points, descriptor.xLabel, descriptor.yLabel);
}
