#include "settingspagehelpers.h"
#include "rawprofilefolder.h"

#include <QAbstractSlider>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>

void setAxisTabsVisibility(QTabWidget* tabs, DeviceTypeEnum type)
{
    switch (type) {
    case DEVICE_TYPE_JOYSTICK:
        tabs->setTabVisible(0, true);
        tabs->setTabVisible(1, true);
        break;
    case DEVICE_TYPE_RUDDER:
    case DEVICE_TYPE_WHEEL:
    case DEVICE_TYPE_COLLECTIVE:
        tabs->setTabVisible(0, true);
        tabs->setTabVisible(1, false);
        break;
    default:
        break;
    }
}

void fillCalibrationModeCombo(QComboBox* combo, DeviceTypeEnum type)
{
    // Translated with the combo box's context, shared by every page that shows them.
    combo->clear();
    combo->addItem(QCoreApplication::translate("QComboBox", "None"));
    combo->addItem(QCoreApplication::translate("QComboBox", "Calibration start angle as the center"));
    combo->addItem(QCoreApplication::translate("QComboBox", "Automatic center of range search"));
    setComboRowHidden(combo, 2, type == DEVICE_TYPE_WHEEL);
}

void setComboRowHidden(QComboBox* combo, int row, bool hidden)
{
    if (auto* view = qobject_cast<QListView*>(combo->view()))
        view->setRowHidden(row, hidden);
    // The arrow keys and the wheel skip disabled rows only, not hidden ones.
    if (auto* model = qobject_cast<QStandardItemModel*>(combo->model())) {
        if (QStandardItem* item = model->item(row))
            item->setEnabled(!hidden);
    }
}

void raiseSliderMaximum(QAbstractSlider* slider, int value)
{
    if (slider->maximum() < value)
        slider->setMaximum(value);
}

void setSliderValueIfDifferent(QAbstractSlider* slider, int value)
{
    if (slider->value() != value)
        slider->setValue(value);
}

void setSpinBoxValueIfDifferent(QSpinBox* spin, int value)
{
    if (spin->value() != value)
        spin->setValue(value);
}

void sliderFollowsSpinBox(QAbstractSlider* slider, int value)
{
    raiseSliderMaximum(slider, value);
    setSliderValueIfDifferent(slider, value);
}

void enableProfileRow(const RawProfileFolder& folder, QComboBox* combo, QWidget* save, QWidget* remove)
{
    for (QWidget* widget : {static_cast<QWidget*>(combo), save, remove})
        widget->setEnabled(folder.isUsable());
}

void activateOnlyOnChoiceOrEnter(QComboBox* combo)
{
    // Enter reaches the combo through returnPressed, which stays connected.
    if (QLineEdit* edit = combo->lineEdit())
        QObject::disconnect(edit, &QLineEdit::editingFinished, combo, nullptr);
}

void listProfiles(const RawProfileFolder& folder, QComboBox* combo)
{
    combo->clear();
    combo->addItems(folder.names());
    combo->setCurrentIndex(-1);
    combo->clearEditText();
}

bool saveProfile(const RawProfileFolder& folder, QComboBox* combo, const QByteArray& record)
{
    const QString name = combo->currentText();
    QString error;
    if (!folder.save(name, record, &error)) {
        // The name is the user's own text: shown as typed, never as markup.
        QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("SettingsPage", "Save profile"),
                        QCoreApplication::translate("SettingsPage", "The profile could not be saved as \"%1\": %2").arg(name, error),
                        QMessageBox::Ok, combo->window());
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return false;
    }
    listProfiles(folder, combo);
    combo->setCurrentIndex(combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
    return true;
}
