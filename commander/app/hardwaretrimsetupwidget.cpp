#include "hardwaretrimsetupwidget.h"

#include "ui_hardwaretrimsetupwidget.h"

HardwareTrimSetupWidget::HardwareTrimSetupWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui_HardwareTrimSetupWidget)
    , waitingBox(nullptr)
    , buttonIcon(QStringLiteral("joystick_buttons.png"))
{
    ui->setupUi(this);
    waitingBox.setWindowTitle(tr("Torquix Commander"));
    waitingBox.setText(tr("Waiting for joystick button press..."));
    waitingBox.setIconPixmap(buttonIcon.pixmap(64, 64));
    waitingBox.setStandardButtons(QMessageBox::Cancel);

    // Pitch and throttle/collective increase with the button of their "down" row.
    assignButtons = {
        ui->roll_left_assign_button, ui->roll_right_assign_button,
        ui->roll_force_release_assign_button, ui->roll_reset_assign_button,
        ui->pitch_down_assign_button, ui->pitch_up_assign_button,
        ui->pitch_force_release_assign_button, ui->pitch_reset_assign_button,
        ui->yaw_left_assign_button, ui->yaw_right_assign_button,
        ui->yaw_force_release_assign_button, ui->yaw_reset_assign_button,
        ui->throttle_down_assign_button, ui->throttle_up_assign_button,
        ui->throttle_force_release_assign_button, ui->throttle_reset_assign_button,
    };
    for (int axis = 0; axis < AppConfig::trimmerCount; ++axis) {
        for (int action = 0; action < AppConfig::buttonTypeCount; ++action) {
            const auto buttonType = AppConfig::ButtonType(action);
            connect(assignButtons[axis * AppConfig::buttonTypeCount + action], &QPushButton::clicked,
                    this, [this, axis, buttonType] { onAssignButtonClicked(axis, buttonType); });
        }
    }
}

HardwareTrimSetupWidget::~HardwareTrimSetupWidget()
{
    delete ui;
}

void HardwareTrimSetupWidget::changeTrimConfig(AppConfig::TrimConfig config)
{
    waitingBox.close();
    for (int axis = 0; axis < AppConfig::trimmerCount; ++axis) {
        for (int action = 0; action < AppConfig::buttonTypeCount; ++action) {
            const AppConfig::TrimButtonConfig& entry = config[axis][action];
            if (!entry.assigned)
                continue;
            // A joystick's name is not ours: an "&" in it must not become a mnemonic.
            QString name = entry.deviceName;
            name.replace(QLatin1Char('&'), QLatin1String("&&"));
            // One pass of arg(), so a "%2" in the name stays as it is.
            const QString text = entry.isHat
                ? tr("%1 (Hat %2 direction %3)")
                      .arg(name, QString::number(entry.hatIndex), QString::number(entry.buttonIndex))
                : tr("%1 (Button %2)").arg(name, QString::number(entry.buttonIndex));
            assignButtons[axis * AppConfig::buttonTypeCount + action]->setText(text);
        }
    }
}

void HardwareTrimSetupWidget::onAssignButtonClicked(int axis, AppConfig::ButtonType buttonType)
{
    emit buttonAssignmentRequested(axis, buttonType);
    // The GUI's event loop runs inside, so the worker's answer can close the box.
    if (waitingBox.exec() == QMessageBox::Cancel)
        emit buttonAssignmentCanceled();
}
