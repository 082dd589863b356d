#pragma once

#include "appconfig.h"

#include <QIcon>
#include <QList>
#include <QMessageBox>
#include <QWidget>

class QPushButton;
class Ui_HardwareTrimSetupWidget;

// The page that binds joystick buttons and hat directions to the sixteen hardware
// trim actions. It holds no bindings: it shows the table it is given and asks the
// worker, through its signals, to wait for the next press. GUI thread only.
class HardwareTrimSetupWidget : public QWidget
{
    Q_OBJECT

public:
    explicit HardwareTrimSetupWidget(QWidget* parent = nullptr);
    ~HardwareTrimSetupWidget() override;

signals:
    void buttonAssignmentRequested(int axis, AppConfig::ButtonType buttonType);
    void buttonAssignmentCanceled();

public slots:
    // Closes a waiting box that is open and shows every assigned binding.
    void changeTrimConfig(AppConfig::TrimConfig config);

private slots:
    void onAssignButtonClicked(int axis, AppConfig::ButtonType buttonType);

private:
    Ui_HardwareTrimSetupWidget* ui;
    // Indexed axis * 4 + ButtonType.
    QList<QPushButton*> assignButtons;
    QMessageBox waitingBox;
    QIcon buttonIcon;
};
