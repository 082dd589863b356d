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

class TestSettingsPageHelpers : public QObject
{
    Q_OBJECT

private slots:
    // A type outside the four changes nothing; a tab after the axis tabs is never touched.
    // (The pages' tests show the tabs of each base type.)
    void axisTabsChangeOnlyForTheFourTypes()
    {
        QTabWidget tabs;
        for (const char* name : {"Axis 0", "Axis 1", "Other"})
            tabs.addTab(new QWidget, name);
        tabs.setTabVisible(0, false);
        tabs.setTabVisible(2, false);
        const auto shown = [&tabs] { return QList<bool>{tabs.isTabVisible(0), tabs.isTabVisible(1), tabs.isTabVisible(2)}; };
        setAxisTabsVisibility(&tabs, DEVICE_TYPE_GENERIC);
        QCOMPARE(shown(), QList<bool>({false, true, false}));
        setAxisTabsVisibility(&tabs, DEVICE_TYPE_RUDDER);
        QCOMPARE(shown(), QList<bool>({true, false, false}));
    }

    void calibrationModesRefillAndHideTheThirdForAWheel_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("wheel") << int(DEVICE_TYPE_WHEEL) << true;
        QTest::newRow("joystick") << int(DEVICE_TYPE_JOYSTICK) << false;
    }

    // The arrow keys and the wheel must not reach a hidden row; code still can.
    void calibrationModesRefillAndHideTheThirdForAWheel()
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
        const QPointF centre(combo.width() / 2.0, combo.height() / 2.0);
        QWheelEvent wheelDown(centre, combo.mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        for (int input = 0; input < 3; ++input) {
            combo.setCurrentIndex(1);
            if (input == 2)
                QApplication::sendEvent(&combo, &wheelDown);
            else
                QTest::keyClick(&combo, input == 0 ? Qt::Key_Down : Qt::Key_End);
            QCOMPARE(combo.currentIndex(), hidden ? 1 : 2);
        }
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

    // A model of another kind has no items to disable; the row is still hidden.
    void foreignModelsAreLeftAlone()
    {
        QComboBox combo;
        combo.setModel(new QStringListModel({"a", "b", "c"}, &combo));
        setComboRowHidden(&combo, 1, true);
        QVERIFY(qobject_cast<QListView*>(combo.view())->isRowHidden(1));
    }

    void slidersAndSpinBoxesAreSetOnlyForAnotherValue_data()
    {
        QTest::addColumn<bool>("spin");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("maximum"); // of the slider afterwards
        QTest::newRow("slider, same value") << false << 40 << 100;
        QTest::newRow("slider, another value below the maximum") << false << 80 << 100;
        QTest::newRow("slider, above the maximum") << false << 150 << 150;
        QTest::newRow("spin box, same value") << true << 40 << 100;
        QTest::newRow("spin box, another value") << true << 39 << 100;
    }

    // The user is dragging the slider and typing into the spin box; a setter call with the
    // same value would not emit but would throw that away. The slider's maximum is never
    // lowered.
    void slidersAndSpinBoxesAreSetOnlyForAnotherValue()
    {
        QFETCH(bool, spin);
        QFETCH(int, value);
        QSlider slider;
        slider.setMaximum(100);
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
            sliderFollowsSpinBox(&slider, value);
        QCOMPARE((spin ? spinChanges : sliderChanges).count(QVariantList{value}), value == 40 ? 0 : 1);
        QCOMPARE(spin ? spinBox.value() : slider.value(), value);
        QTEST(slider.maximum(), "maximum");
        if (value == 40)
            QCOMPARE(spin ? spinBox.text() : QString::number(slider.sliderPosition()), spin ? "45" : "60");
    }
};

QTEST_MAIN(TestSettingsPageHelpers)
#include "tst_settingspagehelpers.moc"
