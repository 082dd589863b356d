#include "curveeditordialog.h"
#include "curveview.h"
#include "directxsettings.h"
#include "directxsettingswidget.h"
#include "effectvalueranges.h"
#include "engineshakersettings.h"
#include "genericshakersettings.h"
#include "gunfiresettingswidget.h"
#include "rpmshakereffectwidget.h"
#include "shakerwithdualcurveandfixedfrequencysettings.h"
#include "shakerwithdualcurveandfixedfrequencywidget.h"
#include "shakerwithdualcurveandvariablefrequencysettings.h"
#include "shakerwithdualcurveandvariablefrequencywidget.h"
#include "shakerwithfixedfrequencywidget.h"
#include "shakerwithsinglecurveandfixedfrequencywidget.h"
#include "shakerwithsinglecurveandvariablefrequencysettings.h"
#include "shakerwithsinglecurveandvariablefrequencywidget.h"
#include "shakerwithvariablefrequencysettings.h"
#include "shakerwithvariablefrequencywidget.h"
#include "simplespringsettings.h"
#include "singlecurveeffectwidget.h"
#include "smartdampeningsettingswidget.h"
#include "smartdampersettings.h"
#include "springwithsinglecurvesettingswidget.h"
#include "threeaxiseffectswidget.h"
#include "totaleffectstrengthsettingswidget.h"
#include "trimsettings.h"
#include "trimsettingswidget.h"
#include "widgettest.h"

#include <qcustomplot.h>

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QJsonArray>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QToolBox>

#include <cmath>
#include <memory>

using namespace WidgetTest;

namespace {

// Inputs 0, 10, ..., 100; outputs in equal steps from first to last.
QJsonArray curveJson(double first, double last)
{
    QJsonArray points;
    for (int k = 0; k < ResponseCurve::pointCount; ++k)
        points.append(QJsonObject{{"in", 10.0 * k}, {"out", first + (last - first) * k / 10}});
    return points;
}

QJsonArray guns(const std::function<QJsonObject(int)>& gun)
{
    QJsonArray array;
    for (int k = 0; k < 5; ++k)
        array.append(gun(k));
    return array;
}

// Every editor starts from these; each settings class reads the members it has.
const QJsonObject startValues{
    {"total_effect_strength", 50}, {"dampening_contribution", 30}, {"base_frequency", 20}, {"max_frequency", 40},
    {"frequency_mode", 0}, {"frequency_multiplier", 3}, {"force", 50}, {"periodic", 50}, {"trimmer", 50},
    {"static_dampening", 30}, {"dynamic_dampening", 30}, {"trim_buttons_allowed", false},
    {"force_release_allowed", true}, {"trim_reset_allowed", false}, {"curve1", curveJson(0, 100)},
    {"curve2", curveJson(0, 100)},
    {"gunfire", guns([](int) { return QJsonObject{{"total_effect_strength", 50}, {"base_frequency", 20}}; })}};

// A profile as a file may hold it: out of the controls' ranges, base above max, mode 2.
const QJsonObject oddValues{
    {"total_effect_strength", 150}, {"dampening_contribution", 120}, {"base_frequency", 45}, {"max_frequency", 41},
    {"frequency_mode", 2}, {"frequency_multiplier", 12}, {"force", -1}, {"periodic", 7}, {"trimmer", 250},
    {"static_dampening", 12.7}, {"dynamic_dampening", 1e10}, {"trim_buttons_allowed", true},
    {"force_release_allowed", false}, {"trim_reset_allowed", true}, {"curve1", curveJson(100, 0)},
    {"curve2", curveJson(50, 50)},
    {"gunfire", guns([](int k) {
         return QJsonObject{{"total_effect_strength", 10 + 20 * k}, {"base_frequency", 31 + 5 * k}, {"frequency_mode", 1}};
     })}};

CurveDescriptor descriptor(int curve)
{
    if (curve == 1)
        return CurveDescriptor("Shaking strength dependency on speed", "Speed (km/h)", "Strength (%)", 0, 100, 0, 100,
                               0, false, 0, true);
    return CurveDescriptor("Shaking strength dependency on AoA", "AoA (deg)", "Strength (%)", 0, 100, 0, 100, 50, true,
                           0, false);
}

// Every number of a JSON value under its dotted path ("gunfire.2.base_frequency").
void flatten(const QVariant& value, const QString& path, QMap<QString, double>& leaves)
{
    const QString prefix = path.isEmpty() ? path : path + '.';
    const QVariantList list = value.toList();
    const QVariantMap map = value.toMap();
    for (int k = 0; k < list.size(); ++k)
        flatten(list[k], prefix + QString::number(k), leaves);
    for (auto it = map.begin(); it != map.end(); ++it)
        flatten(it.value(), prefix + it.key(), leaves);
    if (list.isEmpty() && map.isEmpty())
        leaves.insert(path, value.toDouble());
}

// Settings classes are not final; a final holder is what gets destroyed.
template <class Settings>
struct Holder final {
    Settings settings;
};

// One editor bound to settings of its own. Each settingsChanged is logged with the fields
// that changed since the one before, joined by '+'; the spring's curveChanged as "curve".
struct Subject {
    std::shared_ptr<void> held;
    void* typed = nullptr;
    std::function<void(QJsonObject&)> toJson;
    std::function<void(const QJsonObject&)> fromJson;
    std::unique_ptr<QWidget> editor;
    std::function<void()> bind, refresh;
    QMap<QString, double> last;
    QStringList reports;

    template <class Settings> Settings& as() { return *static_cast<Settings*>(typed); }
    QMap<QString, double> leaves() const
    {
        QJsonObject object;
        toJson(object);
        QMap<QString, double> result;
        flatten(object.toVariantMap(), QString(), result);
        return result;
    }
    // New values behind the editor's back, as a profile load writes them.
    void read(const QJsonObject& patch)
    {
        QJsonObject object;
        toJson(object);
        for (auto it = patch.begin(); it != patch.end(); ++it)
            object.insert(it.key(), it.value());
        fromJson(object);
        last = leaves();
        reports.clear();
    }
    void report()
    {
        const QMap<QString, double> now = leaves();
        QStringList changed;
        for (auto it = now.begin(); it != now.end(); ++it)
            if (last.value(it.key()) != it.value())
                changed << it.key();
        reports << changed.join('+');
        last = now;
    }
    // The control at a path of object names ("gunfire_3/base_frequency").
    template <class T = QWidget> T* find(const QString& path) const
    {
        QWidget* at = editor.get();
        const QStringList names = path.split('/');
        for (int k = 0; at && k < names.size() - 1; ++k)
            at = at->findChild<QWidget*>(names[k]);
        return at ? at->findChild<T*>(names.last()) : nullptr;
    }
    // Whether every curve preview plots the settings curve it stands for.
    bool previewsShowCurves() const
    {
        const QMap<QString, double> now = leaves();
        for (const CurveView* view : editor->findChildren<CurveView*>()) {
            const QString curve = view->objectName().startsWith("curve2") ? "curve2." : "curve1.";
            const auto data = view->findChild<QCustomPlot*>()->graph(0)->data();
            for (int k = 0; k < ResponseCurve::pointCount; ++k) {
                const QString point = curve + QString::number(k);
                if (data->size() != ResponseCurve::pointCount || data->at(k)->key != now.value(point + ".in")
                    || data->at(k)->value != now.value(point + ".out"))
                    return false;
            }
        }
        return true;
    }
    bool screenshot(const QString& prefix) const
    {
        return !saveScreenshot(editor.get(), prefix + QString(QTest::currentDataTag()).replace('/', '-')).isEmpty();
    }
};

// Each report cut to the members it touched ("curve1.5.in+curve1.5.out" gives "curve1").
QStringList members(QStringList reports)
{
    for (QString& report : reports) {
        QStringList touched = report.split('+', Qt::SkipEmptyParts).replaceInStrings(QRegularExpression("\\..*"), "");
        touched.removeDuplicates();
        report = touched.join('+');
    }
    return reports;
}

template <class Editor, class Settings, class... Binding>
std::unique_ptr<Subject> make(Binding... binding)
{
    auto s = std::make_unique<Subject>();
    const auto holder = std::make_shared<Holder<Settings>>();
    Settings* settings = &holder->settings;
    auto* editor = new Editor;
    s->held = holder;
    s->typed = settings;
    s->toJson = [settings](QJsonObject& object) { settings->toJson(object); };
    s->fromJson = [settings](const QJsonObject& object) { settings->fromJson(object); };
    s->editor.reset(editor);
    s->bind = [=] { editor->setSettings(settings, binding...); };
    s->refresh = [editor] { editor->refresh(); };
    QObject::connect(editor, &Editor::settingsChanged, editor, [s = s.get()] { s->report(); });
    if constexpr (std::is_same_v<Editor, SpringWithSingleCurveSettingsWidget>)
        QObject::connect(editor, &Editor::curveChanged, editor, [s = s.get()] { s->reports << "curve"; });
    return s;
}

std::unique_ptr<Subject> make(const QString& kind)
{
    const CurveDescriptor one = descriptor(1), two = descriptor(2);
    if (kind == "strength") return make<TotalEffectStrengthSettingsWidget, TotalEffectStrengthSettingsAddon>();
    if (kind == "spring") return make<SpringWithSingleCurveSettingsWidget, SimpleSpringSettings>(one);
    if (kind == "singleFixed") return make<ShakerWithSingleCurveAndFixedFrequencyWidget, GenericShakerSettings>(one, true);
    if (kind == "rpm") return make<RPMShakerEffectWidget, EngineShakerSettings>(one);
    if (kind == "trim") return make<TrimSettingsWidget, TrimSettings>();
    if (kind == "directX") return make<DirectXSettingsWidget, DirectXSettings>();
    if (kind == "damper") return make<SmartDampeningSettingsWidget, SmartDamperSettings>();
    if (kind == "fixed") return make<ShakerWithFixedFrequencyWidget, ShakerWithFixedFrequencySettings>();
    if (kind == "variable") return make<ShakerWithVariableFrequencyWidget, ShakerWithVariableFrequencySettings>();
    if (kind == "gunfire") return make<GunfireSettingsWidget, GunfireShakerSettings>();
    if (kind == "singleCurve") return make<SingleCurveEffectWidget, SingleCurveEffectSettings>(one);
    if (kind == "singleVar") return make<ShakerWithSingleCurveAndVariableFrequencyWidget, ShakerWithSingleCurveAndVariableFrequencySettings>(one, true);
    if (kind == "dualVar") return make<ShakerWithDualCurveAndVariableFrequencyWidget, ShakerWithDualCurveAndVariableFrequencySettings>(one, two, true);
    return make<ShakerWithDualCurveAndFixedFrequencyWidget, ShakerWithDualCurveAndFixedFrequencySettings>(one, two, true);
}

// Bound to the start values and shown; a bind that reported anything stays in the log.
std::unique_ptr<Subject> started(const QString& kind)
{
    auto s = make(kind);
    s->read(startValues);
    s->bind();
    if (!showExposed(s->editor.get(), QSize(480, s->editor->sizeHint().height())))
        qWarning("the editor was never exposed");
    return s;
}

} // namespace

class TestEffectEditors : public QObject {
    Q_OBJECT

private slots:
    void controlStoresItsFieldOnce_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("value");
        const auto row = [](const char* kind, const char* control, Qt::Key key, const char* field, double value) {
            QTest::addRow("%s %s", kind, control) << kind << control << int(key) << field << value;
        };
        const Qt::Key up = Qt::Key_Up, right = Qt::Key_Right, space = Qt::Key_Space, pageUp = Qt::Key_PageUp;
        // The shared controls, in every editor that has them.
        for (const char* kind : {"strength", "rpm", "directX", "fixed", "variable", "singleCurve", "singleVar", "dualVar", "dualFixed"})
            row(kind, "total_effect_strength", up, "total_effect_strength", 51);
        for (const char* kind : {"singleFixed", "variable", "dualVar", "dualFixed"})
            row(kind, "base_frequency", up, "base_frequency", 21);
        for (const char* kind : {"variable", "dualVar"})
            row(kind, "max_frequency", up, "max_frequency", 41);
        for (const char* kind : {"singleFixed", "fixed", "singleVar", "dualVar", "dualFixed"})
            row(kind, "mode_check_box", space, "frequency_mode", 1);
        // Sliders and the controls of one editor only.
        row("spring", "horizontalSlider", Qt::Key_PageDown, "total_effect_strength", 40);
        row("spring", "slider", Qt::Key_End, "dampening_contribution", 100);
        row("singleFixed", "total_effect_strength", Qt::Key_Down, "total_effect_strength", 49);
        row("rpm", "frequency_multiplier", Qt::Key_Down, "frequency_multiplier", 2);
        row("trim", "trim_buttons", space, "trim_buttons_allowed", 1);
        row("trim", "force_release", space, "force_release_allowed", 0);
        row("trim", "trim_reset", space, "trim_reset_allowed", 1);
        row("directX", "spring_effect_strength", Qt::Key_Down, "force", 49);
        row("directX", "periodic_effect_strength", up, "periodic", 51);
        row("directX", "horizontalSlider_4", pageUp, "trimmer", 60);
        row("damper", "horizontalSlider", pageUp, "total_effect_strength", 60);
        row("damper", "static_dampening_spinner", up, "static_dampening", 31);
        row("damper", "dynamic_dampening_slider", pageUp, "dynamic_dampening", 40);
        row("fixed", "slider", right, "base_frequency", 21);
        row("gunfire", "gunfire_1/total_effect_strength", up, "gunfire.0.total_effect_strength", 51);
        row("gunfire", "gunfire_3/base_frequency", up, "gunfire.2.base_frequency", 21);
        row("gunfire", "gunfire_5/mode_check_box", space, "gunfire.4.frequency_mode", 1);
        row("singleVar", "slider", right, "base_frequency", 21);
        row("singleVar", "groupBox/horizontalSlider", right, "max_frequency", 41);
    }

    void controlStoresItsFieldOnce()
    {
        QFETCH(QString, kind); QFETCH(QString, control); QFETCH(int, key); QFETCH(QString, field); QFETCH(double, value);
        auto s = started(kind);
        QWidget* widget = s->find(control);
        QVERIFY(widget);
        if (kind == "gunfire") // the gun's page, for the screenshot
            s->find<QToolBox>("toolBox")->setCurrentIndex(control.mid(8, 1).toInt() - 1);
        QTest::keyClick(widget, Qt::Key(key));
        QCOMPARE(s->reports, QStringList{field}); // binding reported nothing, the key once, one field
        QCOMPARE(s->leaves().value(field), value);
        QVERIFY(s->screenshot("control-"));
    }

    void loadShowsEverythingAndStoresNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("shown"); // control=value, clamped to the control's range
        QTest::newRow("strength") << "strength" << "total_effect_strength=100";
        QTest::newRow("spring") << "spring" << "total_effect_strength=100 smart_dampening_contribution=100";
        QTest::newRow("singleFixed") << "singleFixed" << "total_effect_strength=100 base_frequency=45 mode_check_box=1";
        QTest::newRow("rpm") << "rpm" << "total_effect_strength=100 frequency_multiplier=10";
        QTest::newRow("trim") << "trim" << "trim_buttons=1 force_release=0 trim_reset=1";
        QTest::newRow("directX") << "directX" << "total_effect_strength=100 spring_effect_strength=0 periodic_effect_strength=7 trimmer_effect_strength=100";
        // The sliders follow the whole, clamped number that the spinners show.
        QTest::newRow("damper") << "damper" << "total_effect_strength=100 static_dampening_slider=12 dynamic_dampening_slider=1000";
        QTest::newRow("fixed") << "fixed" << "total_effect_strength=100 base_frequency=45 mode_check_box=1";
        QTest::newRow("variable") << "variable" << "total_effect_strength=100 base_frequency=45 max_frequency=41";
        QTest::newRow("singleCurve") << "singleCurve" << "total_effect_strength=100";
        QTest::newRow("singleVar") << "singleVar" << "total_effect_strength=100 base_frequency=45 max_frequency=41 mode_check_box=1";
        QTest::newRow("dualVar") << "dualVar" << "total_effect_strength=100 base_frequency=45 max_frequency=41 mode_check_box=1";
        QTest::newRow("dualFixed") << "dualFixed" << "total_effect_strength=100 base_frequency=45 mode_check_box=1";
        QString gunfire;
        for (int k = 0; k < 5; ++k)
            gunfire += QString("gunfire_%1/total_effect_strength=%2 gunfire_%1/base_frequency=%3 gunfire_%1/mode_check_box=1 ").arg(k + 1).arg(10 + 20 * k).arg(qMin(31 + 5 * k, 50));
        QTest::newRow("gunfire") << "gunfire" << gunfire.trimmed();
    }

    void loadShowsEverythingAndStoresNothing()
    {
        QFETCH(QString, kind); QFETCH(QString, shown);
        auto s = started(kind);
        s->read(oddValues);
        const QMap<QString, double> loaded = s->leaves();
        s->refresh();
        QCOMPARE(s->reports, QStringList());
        QCOMPARE(s->leaves(), loaded);
        for (const QString& pair : shown.split(' ')) {
            QWidget* control = s->find(pair.section('=', 0, 0));
            QVERIFY2(control, qPrintable(pair));
            const QVariant value = control->property(control->inherits("QAbstractButton") ? "checked" : "value");
            QVERIFY2(value.toInt() == pair.section('=', 1).toInt(), qPrintable(pair + " shows " + value.toString()));
        }
        QVERIFY(s->previewsShowCurves());
        QVERIFY(s->screenshot("loaded-"));

        // Binding to such a profile keeps it as well.
        auto fresh = make(kind);
        fresh->read(startValues);
        fresh->read(oddValues);
        fresh->bind();
        QCOMPARE(fresh->reports, QStringList());
        QCOMPARE(fresh->leaves(), loaded);
    }

    void frequencyRulePushesTheOtherBox_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QPoint>("start"); // (base, max)
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("value");
        QTest::addColumn<QPoint>("result"); // a pushed box reports first
        QTest::addColumn<int>("confirm"); // the key that confirms the typed value; 0: set at once
        QTest::newRow("dual base push") << "dualVar" << QPoint(25, 30) << "base_frequency" << 30 << QPoint(30, 31) << 0;
        QTest::newRow("single max push") << "singleVar" << QPoint(40, 45) << "max_frequency" << 35 << QPoint(34, 35) << 0;
        QTest::newRow("plain base push") << "variable" << QPoint(10, 12) << "base_frequency" << 20 << QPoint(20, 21) << 0;
        QTest::newRow("plain max push") << "variable" << QPoint(10, 12) << "max_frequency" << 5 << QPoint(4, 5) << 0;
        QTest::newRow("both at 50") << "dualVar" << QPoint(45, 50) << "base_frequency" << 50 << QPoint(50, 50) << 0;
        QTest::newRow("both at 1") << "singleVar" << QPoint(1, 5) << "max_frequency" << 1 << QPoint(1, 1) << 0;
        // Typed numbers act once confirmed: the "3" on the way to 35 would push base to 2.
        QTest::newRow("single max typed, Enter") << "singleVar" << QPoint(40, 45) << "max_frequency" << 35 << QPoint(34, 35) << int(Qt::Key_Return);
        QTest::newRow("dual base typed, leaving") << "dualVar" << QPoint(25, 30) << "base_frequency" << 30 << QPoint(30, 31) << int(Qt::Key_Tab);
    }

    void frequencyRulePushesTheOtherBox()
    {
        QFETCH(QString, kind); QFETCH(QPoint, start); QFETCH(QString, control); QFETCH(int, value); QFETCH(QPoint, result);
        QFETCH(int, confirm);
        const bool baseMoved = control == "base_frequency";
        QStringList reports{control};
        if (baseMoved ? result.y() != start.y() : result.x() != start.x())
            reports.prepend(baseMoved ? "max_frequency" : "base_frequency");
        auto s = started(kind);
        s->read({{"base_frequency", start.x()}, {"max_frequency", start.y()}});
        s->refresh();
        auto* box = s->find<QSpinBox>(control);
        confirm ? typeInto(box, QString::number(value), Qt::Key(confirm)) : box->setValue(value);
        QCOMPARE(s->reports, reports);
        QCOMPARE(QPoint(int(s->leaves().value("base_frequency")), int(s->leaves().value("max_frequency"))), result);
        QCOMPARE(QPoint(s->find<QSpinBox>("base_frequency")->value(), s->find<QSpinBox>("max_frequency")->value()), result);
        QTest::keyClick(box, Qt::Key_Return); // Enter on the unchanged number stores nothing again
        QCOMPARE(s->reports, reports);
        QVERIFY(s->screenshot("rule-"));
    }

    void everySpinBoxWaitsForConfirmation_data()
    {
        QTest::addColumn<QString>("kind");
        // The effects page holds every editor a page places; the others stand alone.
        for (const char* kind : {"effects page", "curve dialog", "variable", "singleCurve", "dualFixed"})
            QTest::newRow(kind) << kind;
    }

    void everySpinBoxWaitsForConfirmation()
    {
        QFETCH(QString, kind);
        WidgetTest::ScopedWorkingDirectory folder; // the effects page lists its profiles here
        QVERIFY(folder.isValid());
        std::unique_ptr<Subject> editor;
        std::unique_ptr<QWidget> widget;
        if (kind == "effects page")
            widget = std::make_unique<ThreeAxisEffectsWidget>();
        else if (kind == "curve dialog")
            widget = std::make_unique<CurveEditorDialog>();
        else
            editor = make(kind);
        QWidget* root = editor ? editor->editor.get() : widget.get();
        QVERIFY(!root->findChildren<QAbstractSpinBox*>().isEmpty());
        QCOMPARE(WidgetTest::keyboardTrackingSpinBoxes(root), QStringList());
    }

    void curveDialogEditsInPlace_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("view");
        QTest::addColumn<bool>("edit"); // three drag steps and one typed value
        QTest::addColumn<bool>("accept");
        QTest::newRow("spring, edit, Cancel") << "spring" << "spring_curve_view" << true << false;
        QTest::newRow("spring, edit, OK") << "spring" << "spring_curve_view" << true << true;
        QTest::newRow("single fixed, edit, OK") << "singleFixed" << "curve1_view" << true << true;
        QTest::newRow("rpm, Cancel") << "rpm" << "curve1_view" << false << false;
        QTest::newRow("single curve, edit, OK") << "singleCurve" << "curve1_view" << true << true;
        QTest::newRow("single variable, edit, Cancel") << "singleVar" << "curve1_view" << true << false;
        QTest::newRow("dual variable 1, OK") << "dualVar" << "curve1_view" << false << true;
        QTest::newRow("dual variable 2, edit, Cancel") << "dualVar" << "curve2_view" << true << false;
        QTest::newRow("dual fixed 2, edit, OK") << "dualFixed" << "curve2_view" << true << true;
    }

    void curveDialogEditsInPlace()
    {
        QFETCH(QString, kind); QFETCH(QString, view); QFETCH(bool, edit); QFETCH(bool, accept);
        auto s = started(kind);
        const QString curve = view.startsWith("curve2") ? "curve2" : "curve1";
        const CurveDescriptor expected = descriptor(curve == "curve2" ? 2 : 1);
        const QMap<QString, double> before = s->leaves();
        QStringList seen, reportsWhileOpen; // title and input name
        whenModal([&](QWidget* dialog) {
            seen << dialog->windowTitle() << dialog->findChild<QLabel*>("input_label")->text();
            dialog->resize(960, 720);
            if (edit && QTest::qWaitForWindowExposed(dialog)) {
                auto* plot = dialog->findChild<QCustomPlot*>("customPlot");
                drag(plot, Qt::LeftButton, plotPixel(plot, 50, 50), plotPixel(plot, 52.37, 61.3), 3);
                typeInto(dialog->findChild<QDoubleSpinBox*>("output_4"), "7");
            }
            reportsWhileOpen = s->reports;
            saveScreenshot(dialog, QStringLiteral("dialog-") + QTest::currentDataTag());
            const auto button = accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel;
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>("buttonBox")->button(button), Qt::LeftButton);
        });
        QTest::mouseClick(s->find(view + "/customPlot"), Qt::LeftButton);

        QCOMPARE(seen, QStringList({expected.title, expected.xLabel}));
        // Every change is reported at once, with the spring's curveChanged after it; Cancel
        // restores and reports once more, OK adds nothing.
        QStringList change{curve}, reports;
        if (kind == "spring")
            change << "curve";
        for (int k = 0; k < (edit ? 4 : 0); ++k)
            reports << change;
        QCOMPARE(members(reportsWhileOpen), reports);
        if (!accept)
            reports << change;
        if (!accept && !edit)
            reports.first().clear(); // an untouched curve restored changes nothing
        QCOMPARE(members(s->reports), reports);
        QCOMPARE(s->leaves() != before, edit && accept);
        if (edit && accept)
            QCOMPARE(s->leaves().value(curve + ".4.out"), 7.0);
        QVERIFY(s->previewsShowCurves()); // restored or not, the preview shows the settings
        QVERIFY(s->screenshot("curve-"));
    }

    void dampeningSliderFollowsSpinnerAndNeverShrinks()
    {
        auto s = started("damper");
        auto* slider = s->find<QSlider>("static_dampening_slider");
        typeInto(s->find<QSpinBox>("static_dampening_spinner"), "250");
        QCOMPARE(s->reports, QStringList{"static_dampening"}); // stored once, when confirmed
        QCOMPARE(QPoint(slider->value(), slider->maximum()), QPoint(250, 250));
        QVERIFY(s->screenshot("dampening-250"));

        SmartDamperSettings& damper = s->as<SmartDamperSettings>();
        QCOMPARE(damper.static_dampening, 250.0f);
        damper.static_dampening = std::nanf("");
        damper.dynamic_dampening = -3.0f;
        s->refresh();
        QCOMPARE(s->reports.size(), 1);
        QCOMPARE(QPoint(slider->value(), slider->maximum()), QPoint(0, 250));
        QCOMPARE(s->find<QSpinBox>("dynamic_dampening_spinner")->value(), 0);
        QVERIFY(std::isnan(damper.static_dampening));
        QCOMPARE(damper.dynamic_dampening, -3.0f);
    }

    void everyControlOffersTheRangeOfItsValue_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"strength", "spring", "singleFixed", "rpm", "directX", "damper", "fixed", "variable",
                                 "gunfire", "singleCurve", "singleVar", "dualVar", "dualFixed"})
            QTest::newRow(kind) << kind;
    }

    // Each spin box and slider, set to its ends, stores them in a value with just that range.
    void everyControlOffersTheRangeOfItsValue()
    {
        QFETCH(QString, kind);
        auto s = started(kind);
        for (QWidget* control : s->editor->findChildren<QWidget*>()) {
            // A dampening slider follows its spin box and widens to it.
            if (!qobject_cast<QSpinBox*>(control) && (!qobject_cast<QSlider*>(control) || control->objectName().contains("dampening")))
                continue;
            QStringList keys;
            for (const char* end : {"minimum", "maximum"}) {
                s->read(startValues);
                s->refresh();
                control->setProperty("value", control->property(end));
                keys << s->reports.value(s->reports.size() - 1).section('.', -1); // a pushed box reports first
            }
            int value = 0;
            while (value < EffectValueRanges::EFFECT_VALUE_COUNT && keys[0] != EffectValueRanges::range(EffectValueRanges::EffectValueEnum(value)).key)
                ++value;
            QVERIFY2(value < EffectValueRanges::EFFECT_VALUE_COUNT && keys[1] == keys[0], qPrintable(control->objectName() + ": " + keys.join(' ')));
            const EffectValueRanges::Range& range = EffectValueRanges::range(EffectValueRanges::EffectValueEnum(value));
            QCOMPARE(QPoint(control->property("minimum").toInt(), control->property("maximum").toInt()),
                     QPoint(range.minimum, range.maximum));
        }
    }
};

QTEST_MAIN(TestEffectEditors)
#include "tst_effecteditors.moc"
