#include "settingspagehelpers.h"
#include "widgettest.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStringListModel>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

namespace {

void scrollDown(QComboBox* combo)
{
    const QPointF centre(combo->width() / 2.0, combo->height() / 2.0);
    QWheelEvent wheel(centre, combo->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo, &wheel);
}

} // namespace

class TestSettingsPageHelpers : public QObject
{
    Q_OBJECT

private slots:
    void axisTabsFollowTheBaseType_data();
    void axisTabsFollowTheBaseType();
    void calibrationModesRefillAndHideTheThirdForAWheel_data();
    void calibrationModesRefillAndHideTheThirdForAWheel();
    void foreignViewsAndModelsAreLeftAlone();
    void sliderMaximumNeverShrinks_data();
    void sliderMaximumNeverShrinks();
    void settersEmitOnlyForAnotherValue_data();
    void settersEmitOnlyForAnotherValue();
};

void TestSettingsPageHelpers::axisTabsFollowTheBaseType_data()
{
    QTest::addColumn<int>("previous"); // -1: none
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("axis0");
    QTest::addColumn<bool>("axis1");
    QTest::newRow("joystick") << -1 << 1 << true << true;
    QTest::newRow("rudder after joystick") << 1 << 2 << true << false;
    QTest::newRow("wheel") << -1 << 3 << true << false;
    QTest::newRow("collective") << -1 << 4 << true << false;
    QTest::newRow("joystick after wheel") << 3 << 1 << true << true;
    QTest::newRow("generic changes nothing") << -1 << 0 << false << true;
    QTest::newRow("type 5 changes nothing") << 2 << 5 << true << false;
}

void TestSettingsPageHelpers::axisTabsFollowTheBaseType()
{
    QFETCH(int, previous);
    QFETCH(int, type);
    QFETCH(bool, axis0);
    QFETCH(bool, axis1);
    QTabWidget tabs;
    for (const char* name : {"Axis 0", "Axis 1", "Other"})
        tabs.addTab(new QWidget, name);
    tabs.setTabVisible(0, false);
    tabs.setTabVisible(2, false);
    if (previous >= 0)
        setAxisTabsVisibility(&tabs, DeviceTypeEnum(previous));
    setAxisTabsVisibility(&tabs, DeviceTypeEnum(type));
    QCOMPARE(tabs.isTabVisible(0), axis0);
    QCOMPARE(tabs.isTabVisible(1), axis1);
    QVERIFY(!tabs.isTabVisible(2));
}

void TestSettingsPageHelpers::calibrationModesRefillAndHideTheThirdForAWheel_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("wheel") << int(DEVICE_TYPE_WHEEL) << true;
    QTest::newRow("joystick") << int(DEVICE_TYPE_JOYSTICK) << false;
    QTest::newRow("rudder") << int(DEVICE_TYPE_RUDDER) << false;
}

// The arrow keys and the wheel must not reach a hidden row; code still can.
void TestSettingsPageHelpers::calibrationModesRefillAndHideTheThirdForAWheel()
{
    QFETCH(int, type);
    QFETCH(bool, hidden);
    QComboBox combo;
    fillCalibrationModeCombo(&combo, DEVICE_TYPE_WHEEL);
    combo.setCurrentIndex(2);
    QSignalSpy changed(&combo, &QComboBox::currentIndexChanged);
    fillCalibrationModeCombo(&combo, DeviceTypeEnum(type));
    QCOMPARE(changed.size(), 2); // -1 on clearing, 0 with the first item
    QCOMPARE(combo.currentIndex(), 0);
    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.itemText(1), QStringLiteral("Calibration start angle as the center"));
    QVERIFY(WidgetTest::showExposed(&combo, QSize(320, 30)));
    QCOMPARE(qobject_cast<QListView*>(combo.view())->isRowHidden(2), hidden);

    combo.setCurrentIndex(1);
    QTest::keyClick(&combo, Qt::Key_Down);
    QCOMPARE(combo.currentIndex(), hidden ? 1 : 2);
    combo.setCurrentIndex(1);
    scrollDown(&combo);
    QCOMPARE(combo.currentIndex(), hidden ? 1 : 2);
    QTest::keyClick(&combo, Qt::Key_End);
    QCOMPARE(combo.currentIndex(), hidden ? 1 : 2);

    combo.setCurrentIndex(2);
    QCOMPARE(combo.currentText(), QStringLiteral("Automatic center of range search"));
    combo.showPopup();
    QVERIFY(QTest::qWaitForWindowExposed(combo.view()->window()));
    QVERIFY(!WidgetTest::saveScreenshot(combo.view()->window(), QTest::currentDataTag()).isEmpty());
    combo.hidePopup();

    setComboRowHidden(&combo, 2, false);
    combo.setCurrentIndex(1);
    QTest::keyClick(&combo, Qt::Key_Down);
    QCOMPARE(combo.currentIndex(), 2);
}

void TestSettingsPageHelpers::foreignViewsAndModelsAreLeftAlone()
{
    QComboBox combo;
    combo.setModel(new QStringListModel({"a", "b", "c"}, &combo));
    setComboRowHidden(&combo, 1, true);
    QVERIFY(qobject_cast<QListView*>(combo.view())->isRowHidden(1));
}

void TestSettingsPageHelpers::sliderMaximumNeverShrinks_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("maximum");
    QTest::newRow("below") << 80 << 100;
    QTest::newRow("equal") << 100 << 100;
    QTest::newRow("above") << 150 << 150;
}

void TestSettingsPageHelpers::sliderMaximumNeverShrinks()
{
    QFETCH(int, value);
    QFETCH(int, maximum);
    QSlider slider;
    slider.setRange(0, 100);
    raiseSliderMaximum(&slider, value);
    QCOMPARE(slider.maximum(), maximum);
    QCOMPARE(slider.minimum(), 0);
}

void TestSettingsPageHelpers::settersEmitOnlyForAnotherValue_data()
{
    QTest::addColumn<bool>("spin");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("emitted");
    QTest::newRow("slider, same value") << false << 40 << 0;
    QTest::newRow("slider, another value") << false << 41 << 1;
    QTest::newRow("spin box, same value") << true << 40 << 0;
    QTest::newRow("spin box, another value") << true << 39 << 1;
}

void TestSettingsPageHelpers::settersEmitOnlyForAnotherValue()
{
    QFETCH(bool, spin);
    QFETCH(int, value);
    QFETCH(int, emitted);
    // The user is dragging the slider and typing into the spin box; a setter call with
    // the same value would not emit but would throw that away.
    QSlider slider;
    slider.setTracking(false);
    slider.setValue(40);
    slider.setSliderPosition(60);
    QSpinBox spinBox;
    spinBox.setKeyboardTracking(false);
    spinBox.setValue(40);
    spinBox.findChild<QLineEdit*>()->setText("45");
    QSignalSpy sliderChanges(&slider, &QSlider::valueChanged);
    QSignalSpy spinChanges(&spinBox, &QSpinBox::valueChanged);
    if (spin)
        setSpinBoxValueIfDifferent(&spinBox, value);
    else
        setSliderValueIfDifferent(&slider, value);
    QCOMPARE((spin ? spinChanges : sliderChanges).size(), emitted);
    QCOMPARE(spin ? spinBox.value() : slider.value(), value);
    if (emitted == 0)
        QCOMPARE(spin ? spinBox.text() : QString::number(slider.sliderPosition()), spin ? "45" : "60");
}

QTEST_MAIN(TestSettingsPageHelpers)
#include "tst_settingspagehelpers.moc"
