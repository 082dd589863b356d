#include "axiseffectswidget.h"
#include "effectprofilefolder.h"
#include "effectsprofilefile.h"
#include "smallfilesystem.h"
#include "telemetrysourcekey.h"
#include "threeaxiseffectswidget.h"
#include "widgettest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

#include <cerrno>
#include <memory>

#include <sys/stat.h>

using namespace WidgetTest;
using E = EffectsProfile;

namespace {

constexpr int role257 = Qt::UserRole + 1; // file name of a profile row, type of an effect row
const char* const axisNames[] = {"ailerons_effects_widget", "elevator_effects_widget",
                                 "rudder_effects_widget", "collective_effects_widget"};

EffectsProfile profile(int source, const QString& module, const QString& comment = {})
{
    EffectsProfile result;
    result.metadata = {Telemetry::Source(source), module, comment};
    return result;
}

QByteArray json(const EffectsProfile& stored) { return QJsonDocument(stored.toJson()).toJson(); }

// "1-5,7" -> {1, 2, 3, 4, 5, 7}
QSet<int> typeList(const QString& text)
{
    QSet<int> types;
    for (const QString& part : text.split(',', Qt::SkipEmptyParts)) {
        for (int type = part.section('-', 0, 0).toInt(); type <= part.section('-', -1).toInt(); ++type)
            types.insert(type);
    }
    return types;
}

// What stands at path, without following a link or opening a pipe.
QByteArray describe(const QString& path)
{
    const QFileInfo entry(path);
    QFile file(path);
    if (entry.isSymLink() || !entry.isFile() || !file.open(QIODevice::ReadOnly))
        return entry.symLinkTarget().toUtf8() + (entry.exists() ? " other" : " absent");
    return file.readAll();
}

// The page in a temporary working directory (or in workingPath) holding the given profile
// files, with its three signals spied on and its message boxes answered by the test.
struct Page {
    explicit Page(const QMap<QString, QByteArray>& files = {}, const QString& workingPath = {},
                  bool testDialogs = true)
    {
        if (!workingPath.isEmpty() && !QDir::setCurrent(workingPath))
            qFatal("cannot enter the working directory");
        QDir().mkdir("effect_profiles");
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            QFile file("effect_profiles/" + it.key());
            if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size())
                qFatal("cannot write a profile file");
        }
        widget = std::make_unique<ThreeAxisEffectsWidget>();
        sudden = std::make_unique<QSignalSpy>(widget.get(), &ThreeAxisEffectsWidget::suddenValueChange);
        moderate = std::make_unique<QSignalSpy>(widget.get(), &ThreeAxisEffectsWidget::moderateValueChange);
        spring = std::make_unique<QSignalSpy>(widget.get(), &ThreeAxisEffectsWidget::integratedSpringCurveChanged);
        const auto record = [this](QStringList* texts, const QString& text) {
            *texts << text;
            if (duringDialog)
                duringDialog();
        };
        if (testDialogs)
            widget->setDialogs({[=](QWidget*, const QString&, const QString& text) { record(&asked, text); return answer; },
                                [=](QWidget*, const QString&, const QString& text) { record(&warned, text); }});
        showExposed(widget.get(), {1300, 820});
    }

    template <typename T = QWidget>
    T* child(const char* name, QWidget* in = nullptr) const { return (in ? in : widget.get())->findChild<T*>(name); }
    AxisEffectsWidget* axis(int k) const { return child<AxisEffectsWidget>(axisNames[k]); }
    QComboBox* profiles() const { return child<QComboBox>("profile_combo"); }
    QComboBox* game() const { return child<QComboBox>("game_combo"); }
    QString module() const { return child<QLineEdit>("flight_module_input")->text(); }
    QString shownFile() const { return profiles()->currentData(role257).toString(); }
    EffectsSettings lastSudden() const { return sudden->last().at(0).value<EffectsSettings>(); }
    void click(const char* name, QWidget* in = nullptr) const { QTest::mouseClick(child<QPushButton>(name, in), Qt::LeftButton); }
    int page(int k) const { return child<QStackedWidget>("effect_stack", axis(k))->currentIndex(); }
    QListView* list(int k) const { return child<QListView>("active_effects_list", axis(k)); }
    QComboBox* addCombo(int k) const { return child<QComboBox>("effects_combo", axis(k)); }

    void addEffect(int k, int type) const
    {
        addCombo(k)->setCurrentIndex(addCombo(k)->findData(type, role257));
        click("activate_effect_button", axis(k));
    }
    // What the user picking a row by its file name does.
    void pick(const QString& fileName) const
    {
        const int row = profiles()->findData(fileName, role257);
        profiles()->setCurrentIndex(row);
        emit profiles()->activated(row);
    }
    // The effect types that axis k lists as active.
    QSet<int> listedActive(int k) const
    {
        QSet<int> types;
        for (int row = 0; row < list(k)->model()->rowCount(); ++row) {
            if (!list(k)->isRowHidden(row))
                types.insert(list(k)->model()->index(row, 0).data(role257).toInt());
        }
        return types;
    }
    void openCurveDialog(int k, const char* editor) const
    {
        auto* plot = child("customPlot", child("spring_curve_view", child(editor, axis(k))));
        QTest::mouseClick(plot, Qt::LeftButton, {}, plot->rect().center());
    }

    ScopedWorkingDirectory working;
    std::unique_ptr<ThreeAxisEffectsWidget> widget;
    std::unique_ptr<QSignalSpy> sudden, moderate, spring;
    QStringList asked, warned;
    bool answer = true;
    std::function<void()> duringDialog;
};

void setCurvePointAndClose(QWidget* dialog, double output, QDialogButtonBox::StandardButton button)
{
    dialog->findChild<QDoubleSpinBox*>("output_5")->setValue(output);
    dialog->findChild<QDialogButtonBox*>("buttonBox")->button(button)->click();
}

} // namespace

class TestEffectsPage : public QObject {
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression("No matching signal")); }
    void axisFormPages_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("names"); // page, group box, label, editor, editor class, button
        const auto row = [](int index, const QString& names) { QTest::addRow("%d", index) << index << names.split(' '); };
        row(0, "_00_smart_damper_page smart_damper_page_group_box smart_damper_page_label smart_damper_widget SmartDampeningSettingsWidget smart_damper_disable_button");
        row(1, "_01_direct_x_page direct_x_page_group_box direct_x_page_label direct_x_widget DirectXSettingsWidget direct_x_disable_button");
        row(2, "_02_airspeed_spring_page airspeed_spring_page_group_box airspeed_spring_page_label airspeed_spring_widget SpringWithSingleCurveSettingsWidget airspeed_spring_disable_button");
        row(3, "_03_prop_flow_spring_page prop_flow_page_group_box prop_flow_page_label prop_flow_widget SpringWithSingleCurveSettingsWidget prop_flow_disable_button");
        row(4, "_04_aoa_spring_page aoa_spring_group_box aoa_spring_page_label aoa_spring_widget SpringWithSingleCurveSettingsWidget aoa_spring_disble_button");
        row(5, "_05_g_force_spring_page g_force_group_box g_force_spring_page_label g_force_spring_widget SpringWithSingleCurveSettingsWidget g_force_spring_disable_button");
        row(6, "_06_simple_spring_page simple_spring_page_group_box simple_spring_page_label simple_spring_widget SpringWithSingleCurveSettingsWidget simple_spring_disable_button");
        row(7, "_07_elevator_weight_page elevator_weight_page_group_box elevator_weight_page_label elevator_weight_widget TotalEffectStrengthSettingsWidget elevator_weight_disable_button");
        row(8, "_08_local_aoa_page local_aoa_page_group_box local_aoa_page_label local_aoa_widget TotalEffectStrengthSettingsWidget local_aoa_disable_button");
        row(9, "_09_turbulence_page turbulence_page_group_box turbulance_page_label turbulence_widget TotalEffectStrengthSettingsWidget turbulence_disable_button");
        row(10, "_10_trim_page trim_page_group_box trim_page_label trim_widget TrimSettingsWidget trim_disable_button");
        row(11, "_11_overspeed_shaker_page overspeed_shaker_group_box overspeed_shaker_page_label overspeed_shaker_widget ShakerWithSingleCurveAndFixedFrequencyWidget overspeed_shaker_disable_button");
        row(12, "_12_over_g_shaker_page over_g_shaker_group_box over_g_shaker_page_label over_g_shaker_widget ShakerWithSingleCurveAndFixedFrequencyWidget over_g_shaker_disable_button");
        row(13, "_13_afterburner_shaker_page afterburner_shaker_page_group_box afterburner_shaker_page_label afterburner_shaker_widget ShakerWithSingleCurveAndFixedFrequencyWidget afterburner_shaker_disable_button");
        row(14, "_14_on_ground_shaker_page on_ground_rolling_shaker_page_group_box on_ground_rolling_shaker_page_label on_ground_rolling_shaker_widget ShakerWithSingleCurveAndVariableFrequencyWidget on_ground_rolling_shaker_disable_button");
        row(15, "_15_primary_gunfire_shaker_page primary_gunfire_shaker_page_group_box primary_gunfire_shaker_page_label primary_gunfire_shaker_widget GunfireSettingsWidget primary_gunfire_shaker_disable_button");
        row(16, "_16_deprecated_0_page deprecated_0_page_group_box deprecated_0_page_label - - deprecated_0_disable_button");
        row(17, "_17_aoa_shaker_page aoa_shaker_page_group_box aoa_shaker_page_label aoa_shaker_widget ShakerWithDualCurveAndVariableFrequencyWidget aoa_shaker_disble_button");
        row(18, "_18_extended_gear_shaker_page extended_gear_shaker_page_group_box extended_gear_shaker_page_label extended_gear_shaker_widget ShakerWithDualCurveAndVariableFrequencyWidget extended_gear_shaker_disable_button");
        row(19, "_19_extended_flaps_shaker_page flaps_shaker_group_box extended_flaps_shaker_page_label extended_flaps_shaker_widget ShakerWithDualCurveAndVariableFrequencyWidget extended_flaps_shaker_disable_button");
        row(20, "_20_extended_airbrakes_shaker_page extended_airbrake_shaker_page_group_box extended_airbrake_shaker_page_label extended_airbrake_shaker_widget ShakerWithDualCurveAndVariableFrequencyWidget extended_airbrake_shaker_disable_button");
        row(21, "_21_gear_retraction_jolt_page gear_retraction_jolt_page_group_box gear_retraction_jolt_page_label gear_retraction_jolt_widget ShakerWithFixedFrequencyWidget gear_retraction_jolt_disable_button");
        row(22, "_22_countermeasures_jolt_page countermeasures_jolt_page_group_box countermeasures_jolt_page_label countermeasures_jolt_widget ShakerWithFixedFrequencyWidget countermeasures_jolt_disable_button");
        row(23, "_23_damage_jolt_page damage_jolt_page_group_box damage_jolt_page_label damage_jolt_widget ShakerWithSingleCurveAndFixedFrequencyWidget damage_jolt_disable_button");
        row(24, "_24_weapon_release_jolt_page weapon_release_jolt_page_group_box weapon_release_jolt_page_label weapon_release_jolt_widget ShakerWithSingleCurveAndFixedFrequencyWidget weapon_release_jolt_disable_button");
        row(25, "_25_landing_jolt_page landing_jolt_page_group_box landing_jolt_page_label landing_jolt_widget ShakerWithDualCurveAndVariableFrequencyWidget landing_jolt_disable_button");
        row(26, "_26_translational_lift_shimmy_page translational_lift_shimmy_page_group_box translational_lift_shimmy_page_label translational_lift_shimmy_widget ShakerWithSingleCurveAndFixedFrequencyWidget translational_lift_shimmy_disable_button");
        row(27, "_27_vortext_state_page vortext_state_page_group_box vortext_state_page_label vortext_state_widget ShakerWithDualCurveAndVariableFrequencyWidget vortext_state_disable_button");
        row(28, "_28_deprecated_1_page deprecated_1_box deprecated_1_label - - deprecated_1_button");
        row(29, "_29_condor_shaker_page condor_shaker_group_box generic_shaker_page_label generic_shaker_widget ShakerWithSingleCurveAndFixedFrequencyWidget condor_shaker_disable_button");
        row(30, "_30_rotor_shaker rotor_shaker_group_box rotor_shaker_page_label rotor_shaker_widget RPMShakerEffectWidget rotor_shaker_disable_button");
        row(31, "_31_engine_shaker engine_shaker_group_box engine_shaker_page_label engine_shaker_widget RPMShakerEffectWidget engine_shaker_disable_button");
        row(32, "page groupBox label - - -");
    }

    void axisFormPages()
    {
        QFETCH(int, index); QFETCH(QStringList, names);
        AxisEffectsWidget fresh;
        QSignalSpy moderate(&fresh, &AxisEffectsWidget::moderateSettingsChange);
        auto* stack = fresh.findChild<QStackedWidget*>("effect_stack");
        QCOMPARE(stack->count(), 33);
        QCOMPARE(stack->currentIndex(), 29); // the form's start page, until the first refresh
        QCOMPARE(stack->widget(index)->objectName(), names[0]);
        auto* box = stack->widget(index)->findChild<QGroupBox*>(names[1], Qt::FindDirectChildrenOnly);
        QVERIFY(box && box->findChild<QLabel*>(names[2], Qt::FindDirectChildrenOnly));
        const bool editor = names[3] != "-", button = names[5] != "-";
        QCOMPARE(box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 1 + editor + button);
        if (editor)
            QCOMPARE(box->findChild<QWidget*>(names[3])->metaObject()->className(), names[4].toLatin1());
        if (!button)
            QCOMPARE(box->findChild<QLabel*>(names[2])->text(), "Select effect from the list.");
        else if (!editor) // the retired pages' buttons do nothing
            box->findChild<QPushButton*>(names[5])->click();
        QCOMPARE(moderate.count(), 0);
    }

    void addAndRemove_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("button");
        // The elevator offers every type but the two withheld (8, 9) and the retired ones.
        const QString buttons = "smart_damper direct_x airspeed_spring prop_flow aoa_spring_disble_button g_force_spring "
                                "simple_spring elevator_weight - - trim overspeed_shaker over_g_shaker afterburner_shaker "
                                "on_ground_rolling_shaker primary_gunfire_shaker - aoa_shaker_disble_button "
                                "extended_gear_shaker extended_flaps_shaker extended_airbrake_shaker gear_retraction_jolt "
                                "countermeasures_jolt damage_jolt weapon_release_jolt landing_jolt "
                                "translational_lift_shimmy vortext_state - condor_shaker rotor_shaker engine_shaker";
        for (int type = 0; type < 32; ++type) {
            const QString name = buttons.section(' ', type, type);
            if (name != "-")
                QTest::addRow("%d", type) << type << (name.endsWith("_button") ? name : name + "_disable_button");
        }
    }

    void addAndRemove()
    {
        QFETCH(int, type); QFETCH(QString, button);
        Page page;
        const int row = page.addCombo(1)->findData(type, role257);
        page.addEffect(1, type);
        QCOMPARE(page.sudden->count(), 1);
        QCOMPARE(page.moderate->count(), 0);
        QCOMPARE(page.listedActive(1), QSet<int>{type});
        QCOMPARE(page.page(1), type);
        QCOMPARE(page.list(1)->currentIndex().row(), row);
        QCOMPARE(page.addCombo(1)->currentIndex(), -1);
        QVERIFY(page.lastSudden() != EffectsSettings());

        page.click(qPrintable(button), page.axis(1));
        QCOMPARE(page.sudden->count(), 1);
        QCOMPARE(page.moderate->count(), 1);
        QCOMPARE(page.moderate->last().at(0).value<EffectsSettings>(), EffectsSettings());
        QCOMPARE(page.page(1), 32);
        QCOMPARE(page.spring->count(), 0);
    }

    void listSelection()
    {
        EffectsProfile stored = profile(0, "");
        AxisEffectsSettings& ailerons = stored.effects.axes[0];
        ailerons.directX.active = ailerons.smartDamper.active = ailerons.aoaSpring.active = true;
        ailerons.aoaSpring.total_effect_strength = 42;
        Page page({{"GENERIC.json", json(stored)}});
        page.pick("GENERIC.json");
        QCOMPARE(page.list(0)->currentIndex().row(), 0); // DirectX, the lowest row
        QCOMPARE(page.page(0), int(E::EFFECT_TYPE_DIRECT_X_FFB));
        QVERIFY(!(page.addCombo(0)->model()->index(0, 0).flags() & Qt::ItemIsEnabled));
        const QModelIndex aoa = page.list(0)->model()->index(page.addCombo(0)->findData(E::EFFECT_TYPE_AOA_SPRING, role257), 0);
        QTest::mouseClick(page.list(0)->viewport(), Qt::LeftButton, {}, page.list(0)->visualRect(aoa).center());
        QCOMPARE(page.page(0), int(E::EFFECT_TYPE_AOA_SPRING));
        QCOMPARE(page.child<QSpinBox>("total_effect_strength", page.child("aoa_spring_widget", page.axis(0)))->value(), 42);

        page.addEffect(0, E::EFFECT_TYPE_SIMPLE_SPRING);
        QCOMPARE(page.page(0), int(E::EFFECT_TYPE_SIMPLE_SPRING));
        QCOMPARE(page.list(0)->currentIndex().row(), page.addCombo(0)->findData(E::EFFECT_TYPE_SIMPLE_SPRING, role257));
        page.click("activate_effect_button", page.axis(0)); // nothing selected: only the signal
        QCOMPARE(page.sudden->count(), 3);
        QCOMPARE(page.listedActive(0), typeList("0,1,4,6"));
        QCOMPARE(page.page(0), int(E::EFFECT_TYPE_SIMPLE_SPRING));
    }

    void notOfferedTypesCannotBeAdded()
    {
        for (bool wheel : {false, true}) {
            Page page;
            QComboBox* combo = page.addCombo(3); // its first row, DirectX, is not offered on the collective
            QWheelEvent event({10, 10}, combo->mapToGlobal(QPointF(10, 10)), {}, {0, -120}, Qt::NoButton, {},
                              Qt::NoScrollPhase, false);
            wheel ? void(QApplication::sendEvent(combo, &event)) : QTest::keyClick(combo, Qt::Key_Down);
            QCOMPARE(combo->currentData(role257).toInt(), int(E::EFFECT_TYPE_DIRECT_X_FFB));
            page.click("activate_effect_button", page.axis(3));
            QCOMPARE(page.sudden->count(), 1);
            QCOMPARE(page.lastSudden(), EffectsSettings());
            QCOMPARE(page.page(3), 32);
        }
    }

    void springCurveEdit()
    {
        for (const int type : {E::EFFECT_TYPE_SIMPLE_SPRING, E::EFFECT_TYPE_AIRSPEED_SPRING}) {
            Page page;
            page.addEffect(2, type);
            whenModal([](QWidget* dialog) { setCurvePointAndClose(dialog, 33, QDialogButtonBox::Ok); });
            page.openCurveDialog(2, type == E::EFFECT_TYPE_SIMPLE_SPRING ? "simple_spring_widget" : "airspeed_spring_widget");
            QCOMPARE(page.moderate->count(), 1);
            QCOMPARE(page.spring->count(), type == E::EFFECT_TYPE_SIMPLE_SPRING ? 1 : 0);
            const EffectsSettings edited = page.moderate->last().at(0).value<EffectsSettings>();
            QCOMPARE(edited.axes[2].simpleSpring.curve1.points[5].out, type == E::EFFECT_TYPE_SIMPLE_SPRING ? 33.0f : SimpleSpringSettings().curve1.points[5].out);
            if (page.spring->count())
                QCOMPARE(page.spring->last(), QVariantList({2, QVariant::fromValue(edited.axes[2].simpleSpring)}));
        }
    }

    void offeredEffectTypes_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("notOffered"); // ailerons, elevator, rudder, collective
        const auto row = [](int source, const char* key, const QString& extra) {
            QTest::newRow(key) << source << key
                               << QStringList{"7-9," + extra, (source == 3 || source == 6 ? "1," : "") + QString("8,9,") + extra,
                                              "1,7-9," + extra, "1-5,7-9," + extra};
        };
        row(0, "DISABLED", "");
        row(1, "DCS", "");
        row(2, "IL2 SHTURMOVIK", "22,26,27,30");
        row(3, "MSFS", "1,15,22,23,24,29");
        row(4, "WARTHUNDER", "15,21-27,29,30");
        row(5, "CONDOR2", "15,21-27,30");
        row(6, "XPLANE", "1,15,22,23,24,29");
    }

    void offeredEffectTypes()
    {
        QFETCH(int, source); QFETCH(QString, key); QFETCH(QStringList, notOffered);
        Page page;
        QCOMPARE(page.game()->itemText(source), key);
        QCOMPARE(telemetrySourceKey(source), key);
        page.game()->setCurrentIndex(source);
        for (int k = 0; k < 4; ++k) {
            auto* view = qobject_cast<QListView*>(page.addCombo(k)->view());
            QSet<int> hidden;
            for (int row = 0; row < 32; ++row) {
                if (view->isRowHidden(row))
                    hidden.insert(page.addCombo(k)->itemData(row, role257).toInt());
            }
            QCOMPARE(hidden, typeList(notOffered[k] + ",16,28"));
        }
    }

    void sourceSwitchResetsWhatIsNotOffered()
    {
        EffectsProfile stored = profile(1, "Heli-8");
        EffectsSettings reduced;
        for (int k = 0; k < 4; ++k) {
            AxisEffectsSettings& axis = stored.effects.axes[k];
            for (EffectSettingsBase* effect : std::initializer_list<EffectSettingsBase*>{
                     &axis.gunfireShaker, &axis.gearExtractionJolt, &axis.countermeasuresJolt, &axis.damageJolt,
                     &axis.weaponReleaseJolt, &axis.landingJolt, &axis.liftShimmyShaker, &axis.vortexStateShaker,
                     &axis.genericShaker, &axis.rotorShaker, &axis.simpleSpring})
                effect->active = true;
            axis.simpleSpring.total_effect_strength = 20 * (k + 1);
            reduced.axes[k].simpleSpring = axis.simpleSpring;
        }
        Page page({{"DCS_Heli_8.json", json(stored)}});
        page.pick("DCS_Heli_8.json");
        QCOMPARE(page.lastSudden(), stored.effects);
        for (int k = 0; k < 4; ++k) {
            page.child<QTabWidget>("tabWidget")->setCurrentIndex(k);
            QVERIFY(!saveScreenshot(page.widget.get(), QString("loaded_profile_%1").arg(axisNames[k])).isEmpty());
        }
        page.game()->setFocus();
        QTest::keyClick(page.game(), Qt::Key_Down); // to IL-2: a user change, sent at once
        QCOMPARE(page.sudden->count(), 2);
        page.game()->setCurrentIndex(Telemetry::TELEMETRY_SOURCE_WARTHUNDER);
        QCOMPARE(page.lastSudden(), reduced);
        page.game()->setCurrentIndex(Telemetry::TELEMETRY_SOURCE_DCS);
        QCOMPARE(page.sudden->count(), 4);
        QCOMPARE(page.lastSudden(), reduced);
        for (int k = 0; k < 4; ++k)
            QCOMPARE(page.listedActive(k), QSet<int>{6});
    }

    void profileNames_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("fileName");
        const QString longName(300, 'a'), capped(100, 'a');
        QTest::newRow("nothing") << 0 << "" << "" << "" << "GENERIC.json";
        QTest::newRow("key alone") << 1 << "" << "" << "[DCS]" << "DCS.json";
        QTest::newRow("module") << 1 << "Jet-7" << "" << "Jet-7 [DCS]" << "DCS_Jet_7.json";
        QTest::newRow("Jet/7 collides") << 1 << "Jet/7" << "" << "Jet/7 [DCS]" << "DCS_Jet_7.json";
        QTest::newRow("module and comment") << 1 << "Jet-7/B" << "wet runway" << "Jet-7/B (wet runway)[DCS]" << "DCS_Jet_7_B_wet_runway.json";
        QTest::newRow("same texts") << 1 << "Heli-8" << "Heli-8" << "Heli-8 [DCS]" << "DCS_Heli_8_Heli_8.json";
        QTest::newRow("comment only, generic") << 0 << "" << "soft" << "soft " << "GENERIC_soft.json";
        QTest::newRow("blank of the key kept") << 2 << "Prop 2A" << "" << "Prop 2A [IL2 SHTURMOVIK]" << "IL2 SHTURMOVIK_Prop_2A.json";
        QTest::newRow("comment only") << 6 << "" << "Test!" << "Test! [XPLANE]" << "XPLANE_Test_.json";
        QTest::newRow("not ASCII") << 4 << "J\u00e4ger \u0663" << "" << "J\u00e4ger \u0663 [WARTHUNDER]" << "WARTHUNDER_J_ger__.json";
        QTest::newRow("parts capped") << 5 << longName << longName << longName + " [CONDOR2]" << "CONDOR2_" + capped + "_" + capped + ".json";
    }

    void profileNames()
    {
        QFETCH(int, source); QFETCH(QString, module); QFETCH(QString, comment); QFETCH(QString, label);
        QFETCH(QString, fileName);
        QCOMPARE(ThreeAxisEffectsWidget::profileDisplayName(profile(source, module, comment).metadata), label);
        QCOMPARE(EffectProfileFolder::fileNameFor(profile(source, module, comment).metadata), fileName);
    }

    void folderEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("entry"); // a link's target, or what stands there
        QTest::addColumn<QString>("listed"); // with this module; "-": not listed
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("saveError"); // empty: saved
        QTest::newRow("plain file") << "GENERIC.json" << "file" << "Jet-8" << true << "";
        QTest::newRow("link outside") << "GENERIC.json" << "../outside.json" << "-" << false << "link";
        QTest::newRow("link to a missing file outside") << "GENERIC.json" << "../created.json" << "-" << false << "link";
        QTest::newRow("link to /dev/zero") << "GENERIC.json" << "/dev/zero" << "-" << false << "link";
        QTest::newRow("link inside to a profile") << "GENERIC.json" << "DCS_Jet_7.json" << "Jet-7" << true << "link";
        QTest::newRow("FIFO") << "GENERIC.json" << "fifo" << "-" << false << "not a regular file";
        QTest::newRow("folder") << "GENERIC.json" << "folder" << "-" << false << "not a regular file";
        QTest::newRow("over 16 MiB") << "GENERIC.json" << "large" << "" << false << "";
        QTest::newRow("leftover temporary") << "GENERIC_kill.json.lGOVCu" << "file" << "-" << false << "";
        QTest::newRow("name leading out") << "../escape.json" << "" << "-" << false << "out of the profile folder";
    }

    void folderEntries()
    {
        QFETCH(QString, name); QFETCH(QString, entry); QFETCH(QString, listed); QFETCH(bool, loads); QFETCH(QString, saveError);
        ScopedWorkingDirectory working;
        QVERIFY(QDir().mkdir("effect_profiles") && writeEffectsProfileFile("outside.json", profile(2, "Prop-2"))
                && writeEffectsProfileFile("effect_profiles/DCS_Jet_7.json", profile(1, "Jet-7")));
        const QString path = "effect_profiles/" + name;
        if (entry == "file" || entry == "large")
            QVERIFY(writeEffectsProfileFile(path, profile(1, "Jet-8")) && (entry == "file" || QFile::resize(path, maxEffectsProfileFileSize + 1)));
        else if (entry == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        else if (entry == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (!entry.isEmpty())
            QVERIFY(QFile::link(entry, path));
        const QByteArray before = describe(path), outside = describe("outside.json");
        if (entry == "large") // the log names the file
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("GENERIC\\.json.*larger than"));
        EffectProfileFolder folder;
        QString module = "-";
        for (const EffectProfileFolder::Entry& shown : folder.list())
            module = shown.fileName == name ? shown.metadata.flightModule : module;
        QCOMPARE(module, listed);
        EffectsProfile loaded = profile(0, "", "untouched");
        QCOMPARE(folder.load(name, &loaded), loads);
        QCOMPARE(loaded.metadata.comment, loads ? "" : "untouched");
        QString error;
        QCOMPARE(folder.save(name, profile(0, "Saved"), &error), saveError.isEmpty());
        QVERIFY2(error.contains(saveError), qPrintable(error));
        QCOMPARE(describe("outside.json"), outside);
        QCOMPARE(describe(path), saveError.isEmpty() ? json(profile(0, "Saved")) : before);
    }

    void saving_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("folderGone");
        QTest::addColumn<QString>("storedModule");
        QTest::newRow("new file") << "Jet-8" << false << false << "Jet-7";
        QTest::newRow("same metadata overwrites") << "Jet-7" << false << false << "Jet-7";
        QTest::newRow("Jet/7 declined") << "Jet/7" << false << false << "Jet-7";
        QTest::newRow("Jet/7 confirmed") << "Jet/7" << true << false << "Jet/7";
        QTest::newRow("failed save reported") << "Jet-7" << true << true << "";
    }

    void saving()
    {
        QFETCH(QString, module); QFETCH(bool, answer); QFETCH(bool, folderGone); QFETCH(QString, storedModule);
        EffectsProfile stored = profile(1, "Jet-7", "night");
        stored.effects.axes[0].trim.active = true;
        Page page({{"DCS_Jet_7_night.json", json(stored)}});
        page.answer = answer;
        page.game()->setCurrentIndex(1);
        QTest::keyClicks(page.child("flight_module_input"), module);
        QTest::keyClicks(page.child("profile_comment_input"), "night");
        page.addEffect(1, E::EFFECT_TYPE_ELEVATOR_WEIGHT);
        const EffectsSettings edited = page.lastSudden();
        if (folderGone) {
            QVERIFY(QFile::remove("effect_profiles/DCS_Jet_7_night.json") && QDir().rmdir("effect_profiles"));
            QVERIFY(QFile("effect_profiles").open(QIODevice::WriteOnly));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot write profile"));
        }
        page.click("save_profile");
        const QString fileName = module == "Jet-8" ? "DCS_Jet_8_night.json" : "DCS_Jet_7_night.json";
        const bool collision = module == "Jet/7", written = !folderGone && (!collision || answer);
        QCOMPARE(page.asked, collision ? QStringList{"The file " + fileName + " holds a different profile. Replace it with this one?"} : QStringList{});
        QCOMPARE(page.warned.size(), folderGone ? 1 : 0);
        QVERIFY(!folderGone || page.warned[0].startsWith("The profile could not be saved as " + fileName + ": "));
        QCOMPARE(page.sudden->count() + page.moderate->count(), 2); // source change and add; saving sends nothing
        EffectsProfile now;
        QCOMPARE(EffectProfileFolder().load("DCS_Jet_7_night.json", &now), !folderGone);
        QCOMPARE(now.metadata.flightModule, storedModule);
        QCOMPARE(now.effects.axes[0].trim.active, !folderGone && (module == "Jet-8" || (collision && !answer)));
        if (!written)
            return;
        QCOMPARE(page.shownFile(), fileName);
        QCOMPARE(page.profiles()->currentText(), module + " (night)[DCS]");
        page.click("elevator_weight_disable_button", page.axis(1));
        page.game()->setCurrentIndex(0);
        page.pick(fileName); // the round trip brings back what was saved
        QCOMPARE(page.lastSudden(), edited);
        QCOMPARE(page.game()->currentIndex(), 1);
        QCOMPARE(page.module(), module);
        QCOMPARE(page.listedActive(1), QSet<int>{E::EFFECT_TYPE_ELEVATOR_WEIGHT});
    }

    void fullDiskKeepsTheStoredProfile_data()
    {
        QTest::addColumn<qint64>("leaveFree");
        QTest::addColumn<QString>("comment"); // typed before saving: a new file
        QTest::newRow("full") << qint64(0) << "";
        QTest::newRow("full, new file") << qint64(0) << "wet";
        QTest::newRow("one page free") << SmallFileSystem::pageSize << "";
        QTest::newRow("one page free, new file") << SmallFileSystem::pageSize << "wet";
    }

    void fullDiskKeepsTheStoredProfile()
    {
        QFETCH(qint64, leaveFree); QFETCH(QString, comment);
        SmallFileSystem disk;
        SKIP_UNLESS_MOUNTED(disk);
        EffectsProfile stored = profile(1, "Jet-7");
        AxisEffectsSettings& ailerons = stored.effects.axes[0];
        ailerons.aoaShaker.active = ailerons.gearShaker.active = ailerons.simpleSpring.active = true;
        const QByteArray old = json(stored);
        // Over the page left free, under a file buffer: what a buffered write lost unnoticed.
        QVERIFY(old.size() > SmallFileSystem::pageSize && old.size() < 16384);
        Page page({{"DCS_Jet_7.json", old}}, disk.path());
        page.pick("DCS_Jet_7.json");
        QTest::keyClicks(page.child("profile_comment_input"), comment);
        QVERIFY(disk.fill(leaveFree));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot write profile"));
        page.click("save_profile");
        const QString prefix = QString("The profile could not be saved as DCS_Jet_7%1.json: ").arg(comment.isEmpty() ? "" : "_wet");
        QVERIFY2(page.warned.size() == 1 && page.warned[0].startsWith(prefix) && page.warned[0].size() > prefix.size(), qPrintable(page.warned.join('|')));
        QCOMPARE(describe("effect_profiles/DCS_Jet_7.json"), old);
        QCOMPARE(QDir("effect_profiles").entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{"DCS_Jet_7.json"});
        QCOMPARE(page.profiles()->count(), 1);
    }

    void loadingShowsAndSendsTheSame_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("ailerons"); // the types listed as active
        EffectsProfile warThunder = profile(4, "Tank-1");
        warThunder.effects.axes[0].gunfireShaker.active = warThunder.effects.axes[0].aoaSpring.active = true;
        const QByteArray unknown = json(profile(0, "Jet-9")).replace("\"flight_data_source\": 0", "\"flight_data_source\": 9");
        QTest::newRow("War Thunder drops the gunfire shaker") << json(warThunder) << "Tank-1 [WARTHUNDER]" << 4 << "Tank-1" << "4";
        QTest::newRow("source 9 reads as 0") << unknown << "Jet-9 " << 0 << "Jet-9" << "";
        QTest::newRow("nothing of the previous profile") << QByteArray("{}") << "" << 0 << "" << "";
        QTest::newRow("text file is not loaded, the row before stays") << QByteArray("not JSON") << "Prop-2 [IL2 SHTURMOVIK]" << 2 << "Prop-2" << "31";
    }

    void loadingShowsAndSendsTheSame()
    {
        QFETCH(QByteArray, file); QFETCH(QString, label); QFETCH(int, source); QFETCH(QString, module);
        QFETCH(QString, ailerons);
        EffectsProfile previous = profile(2, "Prop-2");
        previous.effects.axes[0].engineShaker.active = true;
        Page page({{"previous.json", json(previous)}, {"picked.json", file}});
        page.pick("previous.json");
        page.sudden->clear();
        const bool loaded = file != "not JSON";
        if (!loaded)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("picked\\.json.*not loaded"));
        page.pick("picked.json");
        QCOMPARE(page.profiles()->currentText(), label);
        QCOMPARE(page.game()->currentIndex(), source);
        QCOMPARE(page.module(), module);
        QCOMPARE(page.listedActive(0), typeList(ailerons));
        QCOMPARE(page.sudden->count(), loaded ? 1 : 0);
        QCOMPARE(page.warned, loaded ? QStringList{} : QStringList{"The profile file picked.json cannot be read. The current profile stays."});
        if (!loaded)
            return;
        EffectsProfile expected = profile(source, module); // what the editor shows
        expected.effects.axes[0].aoaSpring.active = ailerons == "4";
        QCOMPARE(page.lastSudden(), expected.effects);
    }

    void automaticActivation_data()
    {
        QTest::addColumn<QString>("action"); // what the user does; a dialog it opens sees the request come in
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("module");
        QTest::addColumn<int>("total");         // suddenValueChange in the end
        QTest::addColumn<QString>("activated");
        QTest::newRow("map order picks the winner") << "" << "" << 1 << "Jet-7" << 1 << "DCS_Jet_7.json"; // "." < "_"
        QTest::newRow("renamed file, matched by its metadata") << "" << "" << 2 << "Prop 2A" << 1 << "my prop.json";
        QTest::newRow("case differs") << "" << "" << 1 << "jet-7" << 0 << "";
        QTest::newRow("source 0 after a lost source") << "" << "" << 0 << "N/A" << 0 << "";
        QTest::newRow("box cleared") << "uncheck" << "" << 1 << "Jet-7" << 0 << "";
        QTest::newRow("delete confirmation") << "delete" << "GENERIC.json" << 1 << "Jet-7" << 2 << "DCS_Jet_7.json";
        QTest::newRow("deleting the file it wants: the next one") << "delete" << "DCS_Jet_7.json" << 1 << "Jet-7" << 2 << "DCS_Jet_7_night.json";
        QTest::newRow("load warning") << "pick" << "broken.json" << 1 << "Jet-7" << 1 << "DCS_Jet_7.json";
        QTest::newRow("overwrite question declined") << "save" << "" << 1 << "Jet-7" << 2 << "DCS_Jet_7.json";
        QTest::newRow("curve dialog cancelled") << "curve" << "" << 1 << "Jet-7" << 2 << "DCS_Jet_7.json";
    }

    void automaticActivation()
    {
        QFETCH(QString, action); QFETCH(QString, file); QFETCH(int, source); QFETCH(QString, module);
        QFETCH(int, total); QFETCH(QString, activated);
        EffectsProfile stored = profile(1, "Jet-7");
        stored.effects.axes[0].simpleSpring.active = true;
        stored.effects.axes[0].simpleSpring.curve1.points[5].out = 77;
        Page page({{"DCS_Jet_7.json", json(stored)}, {"DCS_Jet_7_night.json", json(profile(1, "Jet-7", "night"))},
                   {"my prop.json", json(profile(2, "Prop 2A"))}, {"GENERIC.json", json(profile(0, "", "Jet-7"))},
                   {"broken.json", "{"}});
        page.answer = action != "save";
        int inDialog = -1;
        const auto request = [&] {
            page.widget->activateProfileForFlightModule(Telemetry::Source(source), module);
            inDialog = page.sudden->count();
        };
        page.duringDialog = request;
        if (action == "uncheck") {
            auto* box = page.child<QCheckBox>("auto_profile_activation");
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
            QVERIFY(!box->isChecked());
        } else if (action == "save") {
            page.game()->setCurrentIndex(1);
            QTest::keyClicks(page.child("flight_module_input"), "Jet/7");
        } else if (action == "pick") {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("broken\\.json.*not loaded"));
        } else if (action == "curve") {
            page.addEffect(0, E::EFFECT_TYPE_SIMPLE_SPRING);
            whenModal([&](QWidget* dialog) {
                request();
                setCurvePointAndClose(dialog, -30, QDialogButtonBox::Cancel);
            });
        }
        page.profiles()->setCurrentIndex(page.profiles()->findData(file, role257));
        const int before = page.sudden->count();
        if (action == "pick")
            page.pick(file);
        else if (action == "curve")
            page.openCurveDialog(0, "simple_spring_widget");
        else if (action == "save" || action == "delete")
            page.click(action == "save" ? "save_profile" : "delete_profile");
        else
            request();
        if (action != "" && action != "uncheck")
            QCOMPARE(inDialog, before); // the request waited
        QTRY_COMPARE(page.sudden->count(), total);
        QTest::qWait(20);
        QCOMPARE(page.sudden->count(), total);
        QCOMPARE(page.module(), activated.isEmpty() ? "" : module);
        if (activated.isEmpty())
            return;
        QCOMPARE(page.shownFile(), activated);
        EffectsProfile loaded, saved;
        QVERIFY(EffectProfileFolder().load(activated, &loaded));
        QCOMPARE(page.lastSudden(), loaded.effects);
        // Nothing a dialog did after the request leaked into the activated profile (a cancelled
        // curve dialog restores the user's curve first): saving writes the stored profile back.
        page.click("save_profile");
        QVERIFY(EffectProfileFolder().load(EffectProfileFolder::fileNameFor(loaded.metadata), &saved));
        QCOMPARE(saved, loaded);
    }

    void deleteProfile_data()
    {
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("meanwhile"); // what happens to the folder before the click
        QTest::newRow("confirmed") << true << true << "";
        QTest::newRow("declined") << true << false << "";
        QTest::newRow("no row") << false << true << "";
        QTest::newRow("file already gone") << true << true << "removed";
        QTest::newRow("remove refused") << true << true << "immutable";
    }

    void deleteProfile()
    {
        QFETCH(bool, withFile); QFETCH(bool, answer); QFETCH(QString, meanwhile);
        EffectsProfile stored = profile(1, "Jet-7");
        stored.effects.axes[2].simpleSpring.active = true;
        Page page(withFile ? QMap<QString, QByteArray>{{"DCS_Jet_7.json", json(stored)}} : QMap<QString, QByteArray>{});
        page.answer = answer;
        if (withFile)
            page.pick("DCS_Jet_7.json");
        page.sudden->clear();
        if (meanwhile == "removed")
            QVERIFY(QFile::remove("effect_profiles/DCS_Jet_7.json"));
        const bool refused = meanwhile == "immutable";
        const QString folder = page.working.filePath("effect_profiles");
        const auto thaw = qScopeGuard([&] { if (refused) QProcess::execute("chattr", {"-i", folder}); }); // before the page goes
        if (refused && QProcess::execute("chattr", {"+i", folder}) != 0)
            QSKIP("chattr +i failed: it needs root and a file system with attributes");
        if (refused)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("DCS_Jet_7\\.json.*could not be removed"));
        auto* button = page.child<QPushButton>("delete_profile");
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!button->hasFocus());
        QCOMPARE(page.asked, withFile ? QStringList{"Delete the profile Jet-7 [DCS] (DCS_Jet_7.json)?"} : QStringList{});
        const bool kept = withFile && (!answer || refused), deleted = withFile && answer && !refused;
        QCOMPARE(page.warned, refused ? QStringList{"The profile file DCS_Jet_7.json could not be deleted: " + qt_error_string(EPERM)} : QStringList{});
        QCOMPARE(QFile::exists("effect_profiles/DCS_Jet_7.json"), kept);
        QCOMPARE(page.profiles()->count(), kept ? 1 : 0);
        QCOMPARE(page.sudden->count(), deleted ? 1 : 0);
        if (deleted)
            QCOMPARE(page.lastSudden(), EffectsSettings());
        QCOMPARE(page.listedActive(2), kept ? QSet<int>{6} : QSet<int>{});
        QCOMPARE(page.module(), kept ? "Jet-7" : "");
    }

    void failedActivationSelectsNothing_data()
    {
        QTest::addColumn<bool>("removed"); // or no longer a profile
        QTest::newRow("file removed") << true;
        QTest::newRow("file no longer a profile") << false;
    }

    void failedActivationSelectsNothing()
    {
        QFETCH(bool, removed);
        Page page({{"DCS_Jet_7.json", json(profile(1, "Jet-7"))}, {"GENERIC.json", json(profile(0, "", "base"))}});
        page.pick("GENERIC.json");
        page.sudden->clear();
        QVERIFY(removed ? QFile::remove("effect_profiles/DCS_Jet_7.json") : QFile::resize("effect_profiles/DCS_Jet_7.json", 3));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("DCS_Jet_7\\.json.*not loaded"));
        page.widget->activateProfileForFlightModule(Telemetry::TELEMETRY_SOURCE_DCS, "Jet-7");
        QCOMPARE(page.sudden->count(), 0);
        QCOMPARE(page.shownFile(), "GENERIC.json");
        QCOMPARE(page.profiles()->count(), removed ? 1 : 2); // read again
    }

    void moduleNameInBoxIsPlainText()
    {
        Page page({{"DCS__b_Jet__b_.json", json(profile(1, "<b>Jet</b>"))}}, {}, false);
        QString plainText;
        whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            plainText = box->textFormat() == Qt::PlainText ? box->text() : "rich text";
            saveScreenshot(box, "delete_question");
            box->button(QMessageBox::No)->click();
        });
        page.click("delete_profile");
        QCOMPARE(plainText, "Delete the profile <b>Jet</b> [DCS] (DCS__b_Jet__b_.json)?");
    }
};

QTEST_MAIN(TestEffectsPage)
#include "tst_effectspage.moc"
