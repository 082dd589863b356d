#pragma once

#include "settingsprotocol.h"

class QAbstractSlider;
class QByteArray;
class QComboBox;
class QSpinBox;
class QTabWidget;
class QWidget;
class RawProfileFolder;

// Widget chores shared by the settings pages and the main window of torquix-setup.
// They keep no state and run on the GUI thread.

// Joystick: axis tabs 0 and 1 shown; rudder, wheel, collective: tab 0 shown, tab 1
// hidden; any other type changes nothing. Tabs after 1 are never touched.
void setAxisTabsVisibility(QTabWidget* tabs, DeviceTypeEnum type);

// Refills combo with the three calibration modes (so it emits currentIndexChanged);
// the third is not offered for a wheel.
void fillCalibrationModeCombo(QComboBox* combo, DeviceTypeEnum type);

// Hides row from combo's list and disables it, or shows and enables it again; the
// item keeps its index and text and can still be made current by code.
void setComboRowHidden(QComboBox* combo, int row, bool hidden);

// Raises the maximum to value when it is below; never lowers it.
void raiseSliderMaximum(QAbstractSlider* slider, int value);

// Set value only when the control holds another one, so no valueChanged echoes back.
void setSliderValueIfDifferent(QAbstractSlider* slider, int value);
void setSpinBoxValueIfDifferent(QSpinBox* spin, int value);

// A spin box's new value passed to its slider: the maximum raised first, so the slider
// is not clamped, then the value set if it differs.
void sliderFollowsSpinBox(QAbstractSlider* slider, int value);

// The profile row of a page: an editable combo naming the profile, and its Save and
// Delete buttons. All three are disabled when the folder cannot be used.
void enableProfileRow(const RawProfileFolder& folder, QComboBox* combo, QWidget* save, QWidget* remove);
// An editable combo of Qt activates the item matching its text also when the text
// field loses the focus (to a button, or to its own list); after this only a choice
// from the list and Enter activate.
void activateOnlyOnChoiceOrEnter(QComboBox* combo);
// Lists the folder's profiles with none selected and an empty edit text.
void listProfiles(const RawProfileFolder& folder, QComboBox* combo);
// Saves record under the combo's text, lists again and selects that name (case
// included) without applying it. A failed save keeps the typed text and shows why in a
// modal message box over the combo's window; false then.
bool saveProfile(const RawProfileFolder& folder, QComboBox* combo, const QByteArray& record);
