#include "uihelpers.h"

#include <QComboBox>
#include <QListView>
#include <QStandardItemModel>

void setComboBoxItemEnabled(QComboBox* comboBox, int row, bool enabled)
{
    if (!comboBox)
        return;
    auto* model = qobject_cast<QStandardItemModel*>(comboBox->model());
    if (!model)
        return;
    if (QStandardItem* item = model->item(row, 0))
        item->setEnabled(enabled);
}

void setComboBoxRowHidden(QComboBox* comboBox, int row, bool hidden)
{
    if (!comboBox)
        return;
    if (auto* view = qobject_cast<QListView*>(comboBox->view()))
        view->setRowHidden(row, hidden);
}

void setListViewRowHidden(QListView* listView, int row, bool hidden)
{
    if (listView)
        listView->setRowHidden(row, hidden);
}

QString firmwareVersionText(uint8_t releaseType, uint8_t year, uint8_t version, uint8_t patch)
{
    QString text = releaseType == 1 ? QStringLiteral("RC") : QStringLiteral("R");
    text += QLatin1Char('.') + QString::number(year);
    text += QLatin1Char('.') + QString::number(version);
    text += QLatin1Char('.') + QString::number(patch);
    return text;
}
