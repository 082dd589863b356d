#pragma once

#include "effectprofilefolder.h"
#include "effectsprofile.h"
#include "effectsprofilemetadata.h"
#include "effectssettings.h"
#include "simplespringsettings.h"
#include "telemetry.h"

#include <QMap>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>

#include <functional>

class Ui_ThreeAxisEffectsWidget;

// The effects page: the one current effect profile of the program, one axis editor per tab,
// the stored profiles under "effect_profiles" (loaded, saved, deleted and activated by simulator
// and aircraft), and every change of the current settings offered to the force engine as a
// signal carrying the whole record. GUI thread only; the program makes one.
class ThreeAxisEffectsWidget : public QWidget
{
    Q_OBJECT

public:
    // The page's message boxes; tests put their own in place.
    struct Dialogs {
        // A yes/no question whose safe answer is no; true for yes.
        std::function<bool(QWidget* parent, const QString& title, const QString& text)> question;
        std::function<void(QWidget* parent, const QString& title, const QString& text)> warning;
    };

    explicit ThreeAxisEffectsWidget(QWidget* parent = nullptr);
    ~ThreeAxisEffectsWidget() override;

    void setDialogs(const Dialogs& replacement) { dialogs = replacement; }

    // Loads the first stored profile (in file-name order) with this source and exactly this
    // flight module, when automatic activation is on and the source is not 0. While a modal
    // dialog of the page is open the request waits, and runs once the dialog has closed.
    void activateProfileForFlightModule(Telemetry::Source source, const QString& flightModule);
    // Loads the row of fileName (ignoring case) and then selects it; nothing without such a
    // row. A file that cannot be loaded any more is not selected, and the list is read again.
    void activateProfile(const QString& fileName);
    // Selects the row of fileName (ignoring case) without loading it.
    void selectProfile(const QString& fileName);

    // The label of a stored profile: module or comment, the comment in parentheses when both
    // differ, and the source key in brackets unless the source is 0.
    static QString profileDisplayName(const EffectsProfileMetadata& metadata);
    // The effect types offered for a telemetry source; any value outside 1 to 6 is served like 0.
    QSet<EffectsProfile::EffectType> enabledEffectsForSource(int source) const;

signals:
    void profileListChanged(QMap<QString, EffectsProfileMetadata> profiles); // declared only
    // A profile was loaded or deleted, the source changed, or an effect was added: the engine
    // fades the forces in again.
    void suddenValueChange(EffectsSettings settings);
    void moderateValueChange(EffectsSettings settings);
    // effectAxis: 0 ailerons, 1 elevator, 2 rudder, 3 collective.
    void integratedSpringCurveChanged(int effectAxis, SimpleSpringSettings settings);

private slots:
    void on_profile_combo_activated(int index);
    void on_save_profile_clicked();
    void on_delete_profile_clicked();
    void readProfiles();
    void redraw();
    void checkEnabledEffects();
    void on_auto_profile_activation_stateChanged(int arg1);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadProfile(int row, bool userPicked);
    int profileRow(const QString& fileName) const;
    // Selects the row of fileName, or no row without one.
    void showRow(const QString& fileName);
    bool ask(const QString& title, const QString& text);
    void warn(const QString& title, const QString& text);
    bool pageDialogOpen() const;
    void watchForDialogEnd();
    void dialogEnded();
    void runPendingActivation();

    Ui_ThreeAxisEffectsWidget* ui;
    EffectProfileFolder profileDirectory;
    bool autoActivation = true;
    QSet<EffectsProfile::EffectType> dcsEffectTypes;
    QSet<EffectsProfile::EffectType> msfsEffectTypes;
    QSet<EffectsProfile::EffectType> il2EffectTypes;
    QSet<EffectsProfile::EffectType> warthunderEffectTypes;
    QSet<EffectsProfile::EffectType> condor2EffectTypes;

    Dialogs dialogs;
    bool showingProfile = false; // redraw fills the form: no change of it is the user's
    QString shownFile;           // of the row the page selected, not one a failed pick moved to
    int openDialogs = 0;         // message boxes of this page that are open
    QPointer<QWidget> watchedDialog;
    bool activationPending = false;
    Telemetry::Source pendingSource = Telemetry::TELEMETRY_SOURCE_NONE;
    QString pendingFlightModule;
};
