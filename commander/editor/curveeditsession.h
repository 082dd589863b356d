#pragma once

// What every effect editor with a curve does when its preview is pressed, kept in one
// place so that all of them back up, restore and report a curve the same way.

#include "curvedescriptor.h"

#include <functional>

class CurveView;
class QWidget;

// The descriptor an editor holds until setSettings gives it the effect's own.
CurveDescriptor placeholderCurveDescriptor();

// Opens the curve dialog (modal, parented to editor) on curve, edited in place. Every
// change made in the dialog calls changed(). On Cancel, Escape or close the curve is
// restored from the backup kept in descriptor.curve and changed() is called once more;
// OK adds no call of its own. The preview then shows the curve. A null curve (an editor
// not bound yet) opens nothing. GUI thread only.
void editCurveInDialog(QWidget* editor, CurveDescriptor& descriptor, ResponseCurve* curve,
                       CurveView* preview, const std::function<void()>& changed);
