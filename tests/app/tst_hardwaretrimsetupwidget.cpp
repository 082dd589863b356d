#include "hardwaretrimsetupwidget.h"
#include "widgettest.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>

class TestHardwareTrimSetupWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void assignButtonsAskForTheirAction_data();
    void assignButtonsAskForTheirAction();
    void bindingWhileWaitingClosesTheBox();
    void bindingTexts_data();
    void bindingTexts();

private:
    QPushButton* button(const QString& name) { return page->findChild<QPushButton*>(name); }
    // Clicks the button on its tab; answer gets the waiting box.
    void clickAssign(int tab, const QString& name, std::function<void(QMessageBox*)> answer);

    WidgetTest::ScopedWorkingDirectory folder;
    std::unique_ptr<HardwareTrimSetupWidget> page;
    QStringList events; // the page's signals, in the order they came
};

void TestHardwareTrimSetupWidget::initTestCase()
{
    AppConfig::registerMetaTypes();
    // The page loads its picture from the working directory, as beside the program.
    QVERIFY(folder.isValid());
    QVERIFY(QFile::copy(qEnvironmentVariable("TORQUIX_SOURCE_DIR") + "/resources/joystick_buttons.png",
                        folder.filePath("joystick_buttons.png")));
}

void TestHardwareTrimSetupWidget::init()
{
    page = std::make_unique<HardwareTrimSetupWidget>();
    events.clear();
    connect(page.get(), &HardwareTrimSetupWidget::buttonAssignmentRequested, page.get(),
            [this](int axis, AppConfig::ButtonType type) {
                events << QString("requested %1 %2").arg(axis).arg(type);
            });
    connect(page.get(), &HardwareTrimSetupWidget::buttonAssignmentCanceled, page.get(),
            [this] { events << "canceled"; });
    QVERIFY(WidgetTest::showExposed(page.get(), QSize(400, 517)));
}

void TestHardwareTrimSetupWidget::clickAssign(int tab, const QString& name,
                                              std::function<void(QMessageBox*)> answer)
{
    page->findChild<QTabWidget*>("tabWidget")->setCurrentIndex(tab);
    WidgetTest::whenModal([answer](QWidget* modal) { answer(qobject_cast<QMessageBox*>(modal)); });
    // A box that the answer left open fails the test instead of hanging it.
    bool leftOpen = false;
    QTimer rescue;
    rescue.callOnTimeout([&] { leftOpen = QApplication::activeModalWidget()->close(); });
    rescue.start(5000);
    QTest::mouseClick(button(name), Qt::LeftButton);
    QVERIFY(!leftOpen);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestHardwareTrimSetupWidget::assignButtonsAskForTheirAction_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("action");

    // Pitch and throttle/collective increase with their "down" button.
    const char* const names[4][4] = {
        {"roll_left", "roll_right", "roll_force_release", "roll_reset"},
        {"pitch_down", "pitch_up", "pitch_force_release", "pitch_reset"},
        {"yaw_left", "yaw_right", "yaw_force_release", "yaw_reset"},
        {"throttle_down", "throttle_up", "throttle_force_release", "throttle_reset"}};
    for (int axis = 0; axis < 4; ++axis) {
        for (int action = 0; action < 4; ++action)
            QTest::addRow("%s", names[axis][action])
                << QString(names[axis][action]) + "_assign_button" << axis << action;
    }
}

// Cancelled with the button, or with Escape on the reset rows.
void TestHardwareTrimSetupWidget::assignButtonsAskForTheirAction()
{
    QFETCH(QString, name);
    QFETCH(int, axis);
    QFETCH(int, action);
    clickAssign(axis, name, [action](QMessageBox* box) {
        if (action == AppConfig::BUTTON_TYPE_RESET)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            QTest::mouseClick(box->button(QMessageBox::Cancel), Qt::LeftButton);
    });
    QCOMPARE(events, QStringList({QString("requested %1 %2").arg(axis).arg(action), "canceled"}));
}

void TestHardwareTrimSetupWidget::bindingWhileWaitingClosesTheBox()
{
    AppConfig::TrimConfig table;
    table[1][AppConfig::BUTTON_TYPE_INCREASE] = {"Stick", true, true, 0, 4};
    clickAssign(1, "pitch_down_assign_button", [&](QMessageBox* box) {
        QVERIFY(!box->iconPixmap().isNull());
        QVERIFY(!WidgetTest::saveScreenshot(box, "waiting-box").isEmpty());
        page->changeTrimConfig(table);
    });
    QCOMPARE(button("pitch_down_assign_button")->text(), QString("Stick (Hat 0 direction 4)"));
}

void TestHardwareTrimSetupWidget::bindingTexts_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("isHat");
    QTest::addColumn<QString>("text"); // as set, with "&&" for a literal "&"

    // An "&" is no mnemonic and a "%2" no placeholder.
    QTest::newRow("button") << "R&D %2 Stick" << false << "R&&D %2 Stick (Button 12)";
    QTest::newRow("hat") << "A&&B %2" << true << "A&&&&B %2 (Hat 1 direction 8)";
}

void TestHardwareTrimSetupWidget::bindingTexts()
{
    QFETCH(QString, device);
    QFETCH(bool, isHat);
    QFETCH(QString, text);
    AppConfig::TrimConfig table;
    table[0][AppConfig::BUTTON_TYPE_INCREASE] = {device, true, isHat, 1, isHat ? 8 : 12};
    table[0][AppConfig::BUTTON_TYPE_DECREASE] = {"Ghost", false, false, 0, 3}; // not assigned
    page->changeTrimConfig(table);
    page->changeTrimConfig(AppConfig::TrimConfig()); // nothing assigned changes nothing

    const QList<QPushButton*> buttons = page->findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 16);
    for (QPushButton* b : buttons) {
        QCOMPARE(b->text(), b->objectName() == "roll_left_assign_button" ? text : QString("Assign"));
        QVERIFY(b->shortcut().isEmpty()); // an "&" of the name is no mnemonic
    }
    if (!isHat)
        QVERIFY(!WidgetTest::saveScreenshot(page.get(), "trim-page").isEmpty());
}

QTEST_MAIN(TestHardwareTrimSetupWidget)
#include "tst_hardwaretrimsetupwidget.moc"
