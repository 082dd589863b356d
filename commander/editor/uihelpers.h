#pragma once

// Small helpers shared by the commander's widgets. GUI thread only.

#include <QString>

#include <cstdint>

class QComboBox;
class QListView;

// Greys out one entry of a combo box whose model is a QStandardItemModel.
void setComboBoxItemEnabled(QComboBox* comboBox, int row, bool enabled);
// Hides one entry of the drop-down list; the model keeps it, so indexes do not shift.
void setComboBoxRowHidden(QComboBox* comboBox, int row, bool hidden);
void setListViewRowHidden(QListView* listView, int row, bool hidden);
// "RC" for release type 1, "R" otherwise, then year, version and patch joined by ".".
QString firmwareVersionText(uint8_t releaseType, uint8_t year, uint8_t version, uint8_t patch);
