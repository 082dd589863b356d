#include "threeaxiseffectswidget.h"

#include "ui_threeaxiseffectswidget.h"

#include "telemetrysourcekey.h"

#include <QApplication>
#include <QDebug>
#include <QEvent>
#include <QMessageBox>
#include <QStandardItemModel>
#include <QTimer>

namespace {

using EffectTypes = QSet<EffectsProfile::EffectType>;
using E = EffectsProfile;

constexpr int fileNameRole = Qt::UserRole + 1;

// The editors are bound once, by pointer, into this profile, so it is only ever assigned into.
EffectsProfile currentProfile;
// File name to metadata of every stored profile; its order is the search order of activation.
QMap<QString, EffectsProfileMetadata> profileMetadata;
QStandardItemModel profileListModel;

EffectTypes allTypesExcept(std::initializer_list<E::EffectType> excluded)
{
    EffectTypes types;
    for (int type = E::EFFECT_TYPE_SMART_DAMPER; type <= E::EFFECT_TYPE_ENGINE_SHAKER; ++type)
        types.insert(E::EffectType(type));
    for (E::EffectType type : excluded)
        types.remove(type);
    return types;
}

const EffectTypes allEffectTypes =
    allTypesExcept({E::EFFECT_TYPE_TURBULENCE, E::_deprecated_0, E::_deprecated_1});
const EffectTypes dcsExcludedEffectTypes;
const EffectTypes il2ExcludedEffectTypes{
    E::EFFECT_TYPE_COUNTERMEASURES_JOLT_SHAKER, E::EFFECT_TYPE_ETL_SHAKER,
    E::EFFECT_TYPE_VORTEX_STATE_SHAKER, E::EFFECT_TYPE_MAIN_ROTOR_SHAKER};
const EffectTypes msfsExcludedEffectTypes{
    E::EFFECT_TYPE_DIRECT_X_FFB, E::EFFECT_TYPE_GUNFIRE_SHAKER,
    E::EFFECT_TYPE_COUNTERMEASURES_JOLT_SHAKER, E::EFFECT_TYPE_DAMAGE_JOLT_SHAKER,
    E::EFFECT_TYPE_WEAPON_RELEASE_JOLT_SHAKER, E::EFFECT_TYPE_GENERIC_SHAKER};
const EffectTypes warthunderExcludedEffectTypes{
    E::EFFECT_TYPE_GUNFIRE_SHAKER, E::EFFECT_TYPE_GEAR_EXTRACTION_JOLT_SHAKER,
    E::EFFECT_TYPE_COUNTERMEASURES_JOLT_SHAKER, E::EFFECT_TYPE_DAMAGE_JOLT_SHAKER,
    E::EFFECT_TYPE_WEAPON_RELEASE_JOLT_SHAKER, E::EFFECT_TYPE_LANDING_JOLT_SHAKER,
    E::EFFECT_TYPE_ETL_SHAKER, E::EFFECT_TYPE_VORTEX_STATE_SHAKER, E::EFFECT_TYPE_GENERIC_SHAKER,
    E::EFFECT_TYPE_MAIN_ROTOR_SHAKER};
const EffectTypes condor2ExcludedEffectTypes =
    EffectTypes(warthunderExcludedEffectTypes) - EffectTypes{E::EFFECT_TYPE_GENERIC_SHAKER};
const EffectTypes aileronsExcludedEffectTypes{E::EFFECT_TYPE_ELEVATOR_WEIGHT, E::EFFECT_TYPE_LOCAL_AOA};
const EffectTypes elevatorExcludedEffectTypes;
const EffectTypes rudderExcludedEffectTypes{
    E::EFFECT_TYPE_DIRECT_X_FFB, E::EFFECT_TYPE_ELEVATOR_WEIGHT, E::EFFECT_TYPE_LOCAL_AOA};
const EffectTypes collectiveExcludedEffectTypes{
    E::EFFECT_TYPE_DIRECT_X_FFB, E::EFFECT_TYPE_AIRSPEED_SPRING, E::EFFECT_TYPE_PROP_THRUST_SPRING,
    E::EFFECT_TYPE_AOA_SPRING, E::EFFECT_TYPE_G_FORCE_SPRING, E::EFFECT_TYPE_ELEVATOR_WEIGHT,
    E::EFFECT_TYPE_LOCAL_AOA, E::EFFECT_TYPE_TURBULENCE};
const EffectTypes withheldEffectTypes{E::EFFECT_TYPE_LOCAL_AOA, E::EFFECT_TYPE_TURBULENCE};

// Whether widget is owned, through its parents, by page (a dialog is a window of its own,
// so QWidget::isAncestorOf does not see it).
bool belongsTo(const QWidget* widget, const QWidget* page)
{
    for (; widget; widget = widget->parentWidget()) {
        if (widget == page)
            return true;
    }
    return false;
}

// The texts hold the user's module names and file names: shown as typed, never as markup.
int showBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

} // namespace

ThreeAxisEffectsWidget::ThreeAxisEffectsWidget(QWidget* parent)
    : QWidget(parent), ui(new Ui_ThreeAxisEffectsWidget)
{
    dialogs.question = [](QWidget* dialogParent, const QString& title, const QString& text) {
        return showBox(dialogParent, QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::No) == QMessageBox::Yes;
    };
    dialogs.warning = [](QWidget* dialogParent, const QString& title, const QString& text) {
        showBox(dialogParent, QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok);
    };

    ui->setupUi(this);
    ui->auto_profile_activation->setChecked(true);

    dcsEffectTypes = allEffectTypes - dcsExcludedEffectTypes;
    il2EffectTypes = allEffectTypes - il2ExcludedEffectTypes;
    msfsEffectTypes = allEffectTypes - msfsExcludedEffectTypes;
    warthunderEffectTypes = allEffectTypes - warthunderExcludedEffectTypes;
    condor2EffectTypes = allEffectTypes - condor2ExcludedEffectTypes;

    // An item's index is its telemetry source number.
    for (int source = Telemetry::TELEMETRY_SOURCE_NONE; source <= Telemetry::TELEMETRY_SOURCE_X_PLANE; ++source)
        ui->game_combo->addItem(telemetrySourceKey(source));

    ui->profile_combo->setModel(&profileListModel);
    currentProfile.setDefaults();
    ui->ailerons_effects_widget->setSettings(&currentProfile.effects.axes[0]);
    ui->elevator_effects_widget->setSettings(&currentProfile.effects.axes[1]);
    ui->rudder_effects_widget->setSettings(&currentProfile.effects.axes[2]);
    ui->collective_effects_widget->setSettings(&currentProfile.effects.axes[3]);
    checkEnabledEffects();
    readProfiles();
    // delete_profile never gets the keyboard focus: Space or Enter would then delete a file.

    AxisEffectsWidget* const axes[EffectsSettings::axisCount] = {
        ui->ailerons_effects_widget, ui->elevator_effects_widget, ui->rudder_effects_widget,
        ui->collective_effects_widget};
    for (AxisEffectsWidget* axis : axes) {
        connect(axis, &AxisEffectsWidget::moderateSettingsChange, this,
                [this] { emit moderateValueChange(currentProfile.effects); });
    }
    for (int k = 0; k < EffectsSettings::axisCount; ++k) {
        connect(axes[k], &AxisEffectsWidget::integratedSpringCurveChanged, this, [this, k] {
            emit integratedSpringCurveChanged(k, currentProfile.effects.axes[k].simpleSpring);
        });
    }
    for (AxisEffectsWidget* axis : axes) {
        connect(axis, &AxisEffectsWidget::suddenSettingsChange, this,
                [this] { emit suddenValueChange(currentProfile.effects); });
    }
    connect(ui->profile_comment_input, &QLineEdit::textChanged, this,
            [](const QString& text) { currentProfile.metadata.comment = text; });
    connect(ui->flight_module_input, &QLineEdit::textChanged, this,
            [](const QString& text) { currentProfile.metadata.flightModule = text; });
    connect(ui->game_combo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < Telemetry::TELEMETRY_SOURCE_NONE || index > Telemetry::TELEMETRY_SOURCE_X_PLANE)
            return;
        // redraw has offered the effects of the shown profile's source already.
        if (showingProfile)
            return;
        currentProfile.metadata.source = Telemetry::Source(index);
        checkEnabledEffects();
        // The engine gets the reduced set of effects at once, faded in.
        emit suddenValueChange(currentProfile.effects);
    });
}

ThreeAxisEffectsWidget::~ThreeAxisEffectsWidget()
{
    delete ui;
}

QString ThreeAxisEffectsWidget::profileDisplayName(const EffectsProfileMetadata& metadata)
{
    QString label;
    if (!metadata.flightModule.isEmpty())
        label += QStringLiteral("%1 ").arg(metadata.flightModule);
    else if (!metadata.comment.isEmpty())
        label += QStringLiteral("%1 ").arg(metadata.comment);
    if (!metadata.flightModule.isEmpty() && !metadata.comment.isEmpty() &&
        metadata.flightModule != metadata.comment)
        label += QStringLiteral("(%1)").arg(metadata.comment);
    if (metadata.source != Telemetry::TELEMETRY_SOURCE_NONE)
        label += QStringLiteral("[%1]").arg(telemetrySourceKey(metadata.source));
    return label;
}

QSet<EffectsProfile::EffectType> ThreeAxisEffectsWidget::enabledEffectsForSource(int source) const
{
    switch (source) {
    case Telemetry::TELEMETRY_SOURCE_DCS:
        return dcsEffectTypes;
    case Telemetry::TELEMETRY_SOURCE_IL2:
        return il2EffectTypes;
    case Telemetry::TELEMETRY_SOURCE_MSFS:
    case Telemetry::TELEMETRY_SOURCE_X_PLANE:
        return msfsEffectTypes;
    case Telemetry::TELEMETRY_SOURCE_WARTHUNDER:
        return warthunderEffectTypes;
    case Telemetry::TELEMETRY_SOURCE_CONDOR:
        return condor2EffectTypes;
    default:
        return allEffectTypes;
    }
}

void ThreeAxisEffectsWidget::checkEnabledEffects()
{
    const EffectTypes offered = enabledEffectsForSource(currentProfile.metadata.source);
    const EffectTypes excluded[EffectsSettings::axisCount] = {
        aileronsExcludedEffectTypes, elevatorExcludedEffectTypes, rudderExcludedEffectTypes,
        collectiveExcludedEffectTypes};
    AxisEffectsWidget* const axes[EffectsSettings::axisCount] = {
        ui->ailerons_effects_widget, ui->elevator_effects_widget, ui->rudder_effects_widget,
        ui->collective_effects_widget};
    for (int k = 0; k < EffectsSettings::axisCount; ++k)
        axes[k]->setEnabledEffects(offered - excluded[k] - withheldEffectTypes);
    for (AxisEffectsWidget* axis : axes)
        axis->refresh();
}

void ThreeAxisEffectsWidget::readProfiles()
{
    profileMetadata.clear();
    profileListModel.clear();
    for (const EffectProfileFolder::Entry& entry : profileDirectory.list()) {
        auto* item = new QStandardItem(profileDisplayName(entry.metadata));
        item->setData(entry.fileName, fileNameRole);
        profileListModel.appendRow(item);
        profileMetadata.insert(entry.fileName, entry.metadata);
    }
    shownFile = ui->profile_combo->currentData(fileNameRole).toString();
}

void ThreeAxisEffectsWidget::redraw()
{
    showingProfile = true;
    checkEnabledEffects();
    ui->game_combo->setCurrentIndex(currentProfile.metadata.source);
    ui->profile_comment_input->setText(currentProfile.metadata.comment);
    ui->flight_module_input->setText(currentProfile.metadata.flightModule);
    showingProfile = false;
}

void ThreeAxisEffectsWidget::on_profile_combo_activated(int index)
{
    loadProfile(index, true);
}

void ThreeAxisEffectsWidget::loadProfile(int row, bool userPicked)
{
    const QStandardItem* item = profileListModel.item(row);
    if (!item)
        return;
    const QString fileName = item->data(fileNameRole).toString();
    if (!profileDirectory.load(fileName, &currentProfile)) {
        // The list no longer matches the folder. The row shown before stays, never the one
        // that failed: Delete would act on it.
        const QString before = shownFile == fileName ? QString() : shownFile;
        readProfiles();
        showRow(before);
        if (userPicked) {
            warn(tr("Load profile"),
                 tr("The profile file %1 cannot be read. The current profile stays.").arg(fileName));
        }
        return;
    }
    ui->profile_combo->setCurrentIndex(row);
    shownFile = fileName;
    // The offered effects are applied first, so the engine gets what the editor shows.
    redraw();
    emit suddenValueChange(currentProfile.effects);
}

void ThreeAxisEffectsWidget::on_save_profile_clicked()
{
    const QString fileName = EffectProfileFolder::fileNameFor(currentProfile.metadata);
    if (profileDirectory.holdsOtherProfile(fileName, currentProfile.metadata) &&
        !ask(tr("Save profile"),
             tr("The file %1 holds a different profile. Replace it with this one?").arg(fileName)))
        return;
    QString error;
    if (!profileDirectory.save(fileName, currentProfile, &error))
        warn(tr("Save profile"), tr("The profile could not be saved as %1: %2").arg(fileName, error));
    readProfiles();
    selectProfile(fileName);
}

void ThreeAxisEffectsWidget::on_delete_profile_clicked()
{
    const QStandardItem* item = profileListModel.item(ui->profile_combo->currentIndex());
    if (!item)
        return;
    const QString fileName = item->data(fileNameRole).toString();
    const QString label = item->text().trimmed();
    const QString name = label.isEmpty() ? fileName : QStringLiteral("%1 (%2)").arg(label, fileName);
    if (!ask(tr("Delete profile"), tr("Delete the profile %1?").arg(name)))
        return;
    QString error;
    if (!profileDirectory.remove(fileName, &error)) {
        warn(tr("Delete profile"), tr("The profile file %1 could not be deleted: %2").arg(fileName, error));
        return;
    }
    readProfiles();
    currentProfile.setDefaults();
    redraw();
    emit suddenValueChange(currentProfile.effects);
}

void ThreeAxisEffectsWidget::on_auto_profile_activation_stateChanged(int arg1)
{
    autoActivation = arg1 > 0;
}

void ThreeAxisEffectsWidget::activateProfileForFlightModule(Telemetry::Source source,
                                                            const QString& flightModule)
{
    if (source == Telemetry::TELEMETRY_SOURCE_NONE || !autoActivation || profileMetadata.isEmpty())
        return;
    // Loading under an open dialog would let it act on the new profile: Cancel in the curve
    // dialog would write the old curve into it, Delete would remove the file just selected.
    if (pageDialogOpen()) {
        activationPending = true;
        pendingSource = source;
        pendingFlightModule = flightModule;
        watchForDialogEnd();
        return;
    }
    const QString fileName = EffectProfileFolder::findForFlightModule(profileMetadata, source, flightModule);
    if (!fileName.isEmpty())
        activateProfile(fileName);
}

int ThreeAxisEffectsWidget::profileRow(const QString& fileName) const
{
    for (int row = 0; row < profileListModel.rowCount(); ++row) {
        const QString stored = profileListModel.item(row)->data(fileNameRole).toString();
        if (stored.compare(fileName, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

void ThreeAxisEffectsWidget::activateProfile(const QString& fileName)
{
    const int row = profileRow(fileName);
    if (row >= 0)
        loadProfile(row, false);
}

void ThreeAxisEffectsWidget::selectProfile(const QString& fileName)
{
    if (profileRow(fileName) >= 0)
        showRow(fileName);
}

void ThreeAxisEffectsWidget::showRow(const QString& fileName)
{
    const int row = profileRow(fileName);
    ui->profile_combo->setCurrentIndex(row);
    shownFile = row < 0 ? QString() : profileListModel.item(row)->data(fileNameRole).toString();
}

bool ThreeAxisEffectsWidget::ask(const QString& title, const QString& text)
{
    ++openDialogs;
    const bool yes = dialogs.question(this, title, text);
    --openDialogs;
    watchForDialogEnd();
    return yes;
}

void ThreeAxisEffectsWidget::warn(const QString& title, const QString& text)
{
    ++openDialogs;
    dialogs.warning(this, title, text);
    --openDialogs;
    watchForDialogEnd();
}

bool ThreeAxisEffectsWidget::pageDialogOpen() const
{
    return openDialogs > 0 || belongsTo(QApplication::activeModalWidget(), this);
}

void ThreeAxisEffectsWidget::watchForDialogEnd()
{
    // ask and warn call this again once their box has closed.
    if (!activationPending || openDialogs > 0)
        return;
    QWidget* modal = QApplication::activeModalWidget();
    if (!belongsTo(modal, this)) {
        // The dialog just closed: the request runs once the action that opened it is done.
        QTimer::singleShot(0, this, &ThreeAxisEffectsWidget::runPendingActivation);
        return;
    }
    if (watchedDialog == modal)
        return;
    if (watchedDialog)
        watchedDialog->removeEventFilter(this);
    watchedDialog = modal;
    modal->installEventFilter(this);
    connect(modal, &QObject::destroyed, this, &ThreeAxisEffectsWidget::dialogEnded, Qt::UniqueConnection);
}

bool ThreeAxisEffectsWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == watchedDialog && event->type() == QEvent::Hide)
        dialogEnded();
    return QWidget::eventFilter(watched, event);
}

void ThreeAxisEffectsWidget::dialogEnded()
{
    if (watchedDialog) {
        watchedDialog->removeEventFilter(this);
        disconnect(watchedDialog, &QObject::destroyed, this, &ThreeAxisEffectsWidget::dialogEnded);
    }
    watchedDialog = nullptr;
    // The dialog's owner finishes its work first (a Cancel restores the curve).
    QTimer::singleShot(0, this, &ThreeAxisEffectsWidget::runPendingActivation);
}

void ThreeAxisEffectsWidget::runPendingActivation()
{
    if (!activationPending)
        return;
    if (pageDialogOpen()) {
        watchForDialogEnd();
        return;
    }
    activationPending = false;
    activateProfileForFlightModule(pendingSource, pendingFlightModule);
}
