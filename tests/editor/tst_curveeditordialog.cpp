#include "curveeditor.h"
#include "curveeditordialog.h"
#include "responsecurve.h"
#include "widgettest.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace WidgetTest;

namespace {

// Inputs and outputs 0, 10, ..., 100.
ResponseCurve tenStepCurve()
{
    ResponseCurve curve;
    for (int k = 0; k < ResponseCurve::pointCount; ++k)
        curve.points[k] = {10.0f * k, 10.0f * k};
    return curve;
}

// In the order the effect editors use; the first output pinned at 0.
void configure(CurveEditorDialog& dialog, ResponseCurve& curve, float outputMin = 0)
{
    dialog.setWindowTitle("Shaking strength dependency on speed");
    dialog.setReferenceLevel(0, false);
    dialog.setFixedFirstOutput(0, true);
    dialog.setInputRange(0, 100);
    dialog.setOutputRange(outputMin, 100);
    dialog.setAxisNames("Speed (km/h)", "Out (%)");
    dialog.setCurve(curve.points);
}

QCustomPlot* plotOf(QWidget* dialog) { return dialog->findChild<QCustomPlot*>("customPlot"); }

QDoubleSpinBox* box(QWidget* dialog, const QString& name) { return dialog->findChild<QDoubleSpinBox*>(name); }

// Every keystroke that makes a valid number is a change; Tab leaves the box (Return would
// press the dialog's OK button).
void type(QDoubleSpinBox* spinBox, const QString& text)
{
    QTest::mouseClick(spinBox, Qt::LeftButton);
    QTest::keyClick(spinBox, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(spinBox, text);
    QTest::keyClick(spinBox, Qt::Key_Tab);
}

} // namespace

using Steps = QList<QPair<QString, double>>;

class TestCurveEditorDialog : public QObject {
    Q_OBJECT

private slots:
    void bindingSetsLimitsAndWritesNothing_data();
    void bindingSetsLimitsAndWritesNothing();
    void typedValuesMovePoints_data();
    void typedValuesMovePoints();
    void crowdedPointShowsItsValueAndStaysPut();
    void dragShowsRoundedValueAndKeepsExact();
    void closingReturnsResult_data();
    void closingReturnsResult();
};

void TestCurveEditorDialog::bindingSetsLimitsAndWritesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("middle input") << "input_3" << 21.0 << 39.0 << true;
    QTest::newRow("first input") << "input_0" << 0.0 << 9.0 << false;
    QTest::newRow("last input") << "input_10" << 91.0 << 100.0 << false;
    QTest::newRow("fixed first output") << "output_0" << 0.0 << 100.0 << false;
    QTest::newRow("other output") << "output_4" << 0.0 << 100.0 << true;
}

void TestCurveEditorDialog::bindingSetsLimitsAndWritesNothing()
{
    QFETCH(QString, name);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(bool, enabled);
    CurveEditorDialog dialog;
    ResponseCurve curve = tenStepCurve();
    QSignalSpy changed(&dialog, &CurveEditorDialog::curveChanged);
    configure(dialog, curve);
    QVERIFY(showExposed(&dialog, QSize(960, 720)));
    QDoubleSpinBox* spinBox = box(&dialog, name);
    QCOMPARE(spinBox->minimum(), minimum);
    QCOMPARE(spinBox->maximum(), maximum);
    QCOMPARE(spinBox->isEnabled(), enabled);
    QCOMPARE(box(&dialog, "input_3")->value(), 30.0);
    QCOMPARE(dialog.findChild<QLabel*>("input_label")->text(), QString("Speed (km/h)"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(curve, tenStepCurve());
    QVERIFY(!saveScreenshot(&dialog, QStringLiteral("bound-") + QTest::currentDataTag()).isEmpty());
}

void TestCurveEditorDialog::typedValuesMovePoints_data()
{
    QTest::addColumn<bool>("typed"); // typed into the box, or set as a value
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<int>("point");
    QTest::addColumn<QPointF>("expected");
    QTest::addColumn<int>("emits");
    // "3" is below input_3's limits, "-" is no number, "-2" is.
    QTest::newRow("input") << true << Steps{{"input_3", 35}} << 3 << QPointF(35, 30) << 1;
    QTest::newRow("output") << true << Steps{{"output_4", -20}} << 4 << QPointF(40, -20) << 2;
    QTest::newRow("held by the moved neighbour") << false << Steps{{"input_1", 15}, {"input_2", 12}} << 2
                                                  << QPointF(16, 20) << 2;
}

void TestCurveEditorDialog::typedValuesMovePoints()
{
    QFETCH(bool, typed);
    QFETCH(Steps, steps);
    QFETCH(int, point);
    QFETCH(QPointF, expected);
    QFETCH(int, emits);
    CurveEditorDialog dialog;
    ResponseCurve curve = tenStepCurve();
    configure(dialog, curve, -100);
    QVERIFY(showExposed(&dialog, QSize(960, 720)));
    QSignalSpy changed(&dialog, &CurveEditorDialog::curveChanged);
    QCustomPlot* plot = plotOf(&dialog);
    for (const auto& [name, value] : steps) {
        if (typed)
            type(box(&dialog, name), QString::number(value));
        else
            box(&dialog, name)->setValue(value);
    }
    QCOMPARE(changed.count(), emits);
    QCOMPARE(QPointF(curve.points[point].in, curve.points[point].out), expected);
    // The editor shows the point, and the neighbours' limits follow it at once.
    QCOMPARE(plot->graph(1)->data()->at(point)->key, expected.x());
    QCOMPARE(box(&dialog, QStringLiteral("input_%1").arg(point + 1))->minimum(), expected.x() + 1);
    QCOMPARE(box(&dialog, QStringLiteral("input_%1").arg(point - 1))->maximum(), expected.x() - 1);
    QVERIFY(!saveScreenshot(&dialog, QStringLiteral("typed-") + QTest::currentDataTag()).isEmpty());
}

void TestCurveEditorDialog::crowdedPointShowsItsValueAndStaysPut()
{
    // Points 2 to 4 at 20, 20.5 and 21: closer than two steps, as a file may hold them.
    ResponseCurve curve = tenStepCurve();
    curve.points[3].in = 20.5f;
    curve.points[4].in = 21.0f;
    const ResponseCurve stored = curve;
    CurveEditorDialog dialog;
    configure(dialog, curve);
    QVERIFY(showExposed(&dialog, QSize(960, 720)));
    QSignalSpy changed(&dialog, &CurveEditorDialog::curveChanged);
    QDoubleSpinBox* crowded = box(&dialog, "input_3");
    QCOMPARE(crowded->value(), 20.5);
    QCOMPARE(crowded->minimum(), 20.5);
    QCOMPARE(crowded->maximum(), 20.5);

    // A drag elsewhere reloads every box; the crowded ones write nothing back.
    drag(plotOf(&dialog), Qt::LeftButton, plotPixel(plotOf(&dialog), 70, 70), plotPixel(plotOf(&dialog), 70, 50), 2);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(crowded->value(), 20.5);
    QCOMPARE(box(&dialog, "input_2")->value(), 19.5); // clamped on screen only
    for (int k = 0; k < ResponseCurve::pointCount; ++k)
        QVERIFY(k == 7 || curve.points[k] == stored.points[k]);
    QVERIFY(!saveScreenshot(&dialog, "crowded").isEmpty());
}

void TestCurveEditorDialog::dragShowsRoundedValueAndKeepsExact()
{
    CurveEditorDialog dialog;
    ResponseCurve curve = tenStepCurve();
    configure(dialog, curve);
    QVERIFY(showExposed(&dialog, QSize(960, 720)));
    QCustomPlot* plot = plotOf(&dialog);
    QDoubleSpinBox* input5 = box(&dialog, "input_5");
    QSignalSpy editorChanged(dialog.findChild<CurveEditor*>("curveEditor"), &CurveEditor::curveChanged);
    QSignalSpy dialogChanged(&dialog, &CurveEditorDialog::curveChanged);
    QSignalSpy boxChanged(input5, &QDoubleSpinBox::valueChanged);
    drag(plot, Qt::LeftButton, plotPixel(plot, 50, 50), plotPixel(plot, 52.37, 61.3), 3);

    QCOMPARE(editorChanged.count(), 3);
    QCOMPARE(dialogChanged.count(), 3);
    QCOMPARE(boxChanged.count(), 0);
    const double exact = curve.points[5].in;
    const double rounded = std::round(exact * 10) / 10;
    QVERIFY2(qAbs(exact - rounded) > 1e-3, "the drag should end off the 0.1 grid");
    QCOMPARE(input5->value(), rounded);
    QCOMPARE(box(&dialog, "output_5")->value(), std::round(double(curve.points[5].out) * 10) / 10);
    QCOMPARE(box(&dialog, "input_6")->minimum(), std::ceil((exact + 1) * 10) / 10);
    QVERIFY(!saveScreenshot(&dialog, "dragged").isEmpty());
}

void TestCurveEditorDialog::closingReturnsResult_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("Escape") << "escape" << 0;
    QTest::newRow("close button") << "close" << 0;
    QTest::newRow("Cancel") << "cancel" << 0;
    QTest::newRow("OK") << "ok" << 1;
}

void TestCurveEditorDialog::closingReturnsResult()
{
    QFETCH(QString, how);
    QFETCH(int, result);
    CurveEditorDialog dialog;
    ResponseCurve curve = tenStepCurve();
    configure(dialog, curve, -100);
    dialog.resize(960, 720);
    QSignalSpy changed(&dialog, &CurveEditorDialog::curveChanged);
    bool handled = false;
    whenModal([&](QWidget* modal) {
        handled = modal == &dialog;
        type(box(modal, "output_4"), "7");
        saveScreenshot(modal, "modal-" + how);
        const auto button = how == "ok" ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel;
        if (how == "escape")
            QTest::keyClick(modal, Qt::Key_Escape);
        else if (how == "close")
            modal->close();
        else
            QTest::mouseClick(modal->findChild<QDialogButtonBox*>("buttonBox")->button(button), Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), result);
    QVERIFY(handled);
    // The dialog restores nothing and says nothing on closing; the caller keeps a backup.
    QCOMPARE(changed.count(), 1);
    QCOMPARE(curve.points[4].out, 7.0f);
}

QTEST_MAIN(TestCurveEditorDialog)
#include "tst_curveeditordialog.moc"
