// The curve widgets offscreen: building one curve preview with its curve and first replot
// (the effects page builds about a hundred at start-up), and one drag step in the curve
// editor, from the mouse move event to the end of its painting. The effects page: building
// it with its four axis editors, and loading a profile with every effect active, from the
// profile combo's activation to the emitted settings.

#include "benchsupport.h"
#include "curveeditor.h"
#include "curveeditordialog.h"
#include "curveview.h"
#include "effectsprofile.h"
#include "effectsprofilefile.h"
#include "threeaxiseffectswidget.h"
#include "responsecurve.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLayout>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <vector>

namespace {

// Counts the paint events of one widget.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

double elapsedMs(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) * 1e-6; }

// laidOut: the view has its form's size and its layout is applied before the curve is set,
// as when the page is already shown; otherwise the plot still has a new widget's size.
std::vector<double> timeCurveViews(int count, bool laidOut)
{
    ResponseCurve curve;
    curve.setPoints(genericCurveTable);
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer timer;
        timer.start();
        auto* view = new CurveView;
        if (laidOut) {
            view->resize(400, 200);
            view->layout()->activate();
        }
        view->setCurve(curve.points, QStringLiteral("In (%)"), QStringLiteral("Out (%)"));
        times.push_back(elapsedMs(timer));
        delete view;
    }
    return times;
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Drags the point up and down in small steps; each step is timed from the move event until
// the plot has painted the result. Empty when a step drew nothing.
std::vector<double> timeDragSteps(QCustomPlot* plot, const ResponseCurvePoint& point, int count)
{
    PaintCounter counter(plot);
    const QPoint grab(qRound(plot->xAxis->coordToPixel(point.in)), qRound(plot->yAxis->coordToPixel(point.out)));
    sendMouse(plot, QEvent::MouseMove, grab, Qt::NoButton);
    sendMouse(plot, QEvent::MouseButtonPress, grab, Qt::LeftButton);
    QApplication::processEvents();
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const QPoint at = grab + QPoint(i % 7 - 3, (i % 40 < 20 ? i % 20 : 20 - i % 20) * 5);
        const int before = counter.paints;
        QElapsedTimer timer;
        timer.start();
        sendMouse(plot, QEvent::MouseMove, at, Qt::LeftButton);
        while (counter.paints == before && timer.elapsed() < 1000)
            QApplication::processEvents();
        if (counter.paints == before)
            return {};
        times.push_back(elapsedMs(timer));
    }
    sendMouse(plot, QEvent::MouseButtonRelease, grab, Qt::NoButton);
    return times;
}

// Shows a widget holding the curve editor and prints the drag steps on its plot after a
// warm-up; false when it was never exposed or a step drew nothing.
bool printDragSteps(const char* label, QWidget* widget, QSize size, const ResponseCurvePoint& point)
{
    widget->resize(size);
    widget->show();
    if (!QTest::qWaitForWindowExposed(widget))
        return false;
    auto* plot = widget->findChild<QCustomPlot*>(QStringLiteral("customPlot"));
    timeDragSteps(plot, point, 20);
    const std::vector<double> steps = timeDragSteps(plot, point, 500);
    if (!steps.empty())
        printFigures(label, steps);
    return !steps.empty();
}

std::vector<double> timePageConstruction(int count)
{
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer timer;
        timer.start();
        auto* page = new ThreeAxisEffectsWidget;
        times.push_back(elapsedMs(timer));
        delete page;
    }
    return times;
}

// Alternates between two stored profiles with every effect active, so each load changes
// every editor. Empty when a load emitted nothing.
std::vector<double> timeProfileLoads(ThreeAxisEffectsWidget& page, int count)
{
    auto* combo = page.findChild<QComboBox*>(QStringLiteral("profile_combo"));
    QElapsedTimer timer;
    std::vector<double> times;
    const QMetaObject::Connection done = QObject::connect(
        &page, &ThreeAxisEffectsWidget::suddenValueChange, &page,
        [&times, &timer] { times.push_back(elapsedMs(timer)); });
    for (int i = 0; i < count; ++i) {
        const int row = i % combo->count();
        combo->setCurrentIndex(row);
        timer.start();
        emit combo->activated(row);
        QApplication::processEvents();
    }
    QObject::disconnect(done);
    return times.size() == size_t(count) ? times : std::vector<double>{};
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    timeCurveViews(20, true); // warm-up: fonts, styles, first allocations
    printFigures("CurveView built with a curve and first replot", timeCurveViews(500, false));
    printFigures("CurveView built, laid out at 400x200, curve and replot", timeCurveViews(500, true));

    ResponseCurve curve;
    curve.setPoints(genericCurveTable);
    {
        CurveEditor editor;
        editor.setCurve(curve.points);
        // At its size inside the dialog.
        if (!printDragSteps("CurveEditor drag step, move event to painted", &editor, {800, 680}, curve.points[5]))
            return 1;
    }
    {
        CurveEditorDialog dialog;
        dialog.setInputRange(-100, 100);
        dialog.setOutputRange(-100, 100);
        dialog.setCurve(curve.points);
        if (!printDragSteps("CurveEditorDialog drag step with its spin boxes", &dialog, {960, 720}, curve.points[5]))
            return 1;
    }
    QTemporaryDir working;
    if (!working.isValid() || !QDir::setCurrent(working.path()) || !QDir().mkdir("effect_profiles"))
        return 1;
    EffectsProfile full;
    full.effects = everyEffectActive();
    full.metadata.source = Telemetry::TELEMETRY_SOURCE_DCS;
    full.metadata.flightModule = QStringLiteral("Jet-7");
    writeEffectsProfileFile(QStringLiteral("effect_profiles/DCS_Jet_7.json"), full);
    full.metadata.source = Telemetry::TELEMETRY_SOURCE_NONE;
    writeEffectsProfileFile(QStringLiteral("effect_profiles/GENERIC_Jet_7.json"), full);

    timePageConstruction(2);
    printFigures("ThreeAxisEffectsWidget built with its four axis editors", timePageConstruction(20));
    {
        ThreeAxisEffectsWidget page;
        page.resize(1300, 820);
        page.show();
        if (!QTest::qWaitForWindowExposed(&page))
            return 1;
        timeProfileLoads(page, 10);
        const std::vector<double> loads = timeProfileLoads(page, 200);
        if (loads.empty())
            return 1;
        printFigures("Full profile loaded, combo activation to suddenValueChange", loads);
    }
    std::printf("targets: CurveView median <= 2 ms, CurveEditor drag step median <= 4 ms, "
                "ThreeAxisEffectsWidget median <= 400 ms, profile load median <= 20 ms\n");
    return 0;
}
