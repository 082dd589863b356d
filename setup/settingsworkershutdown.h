#pragma once

class QThread;
class SettingsUiBackgroundThread;

// Ends the worker and its running thread in the order hidapi needs: the tick stopped
// and every base closed on the worker's thread (the caller waits for it), the thread
// quit and waited for, worker and thread deleted, and hid_exit last. Called from
// another thread than the worker's, at the end of the program.
void shutDownSettingsWorker(SettingsUiBackgroundThread* worker, QThread* thread);
