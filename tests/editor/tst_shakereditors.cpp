#include "gunfiresettingswidget.h"
#include "gunfireshakersettings.h"
#include "shakerwithdualcurveandfixedfrequencysettings.h"
#include "shakerwithdualcurveandfixedfrequencywidget.h"
#include "shakerwithdualcurveandvariablefrequencysettings.h"
#include "shakerwithdualcurveandvariablefrequencywidget.h"
#include "shakerwithfixedfrequencysettings.h"
#include "shakerwithfixedfrequencywidget.h"
#include "shakerwithsinglecurveandvariablefrequencysettings.h"
#include "shakerwithsinglecurveandvariablefrequencywidget.h"
#include "shakerwithvariablefrequencysettings.h"
#include "shakerwithvariablefrequencywidget.h"
#include "singlecurveeffectsettings.h"
#include "singlecurveeffectwidget.h"
#include "widgettest.h"

#include <qcustomplot.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QJsonArray>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QToolBox>

#include <memory>
#include <utility>

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

CurveDescriptor descriptor(int curve)
{
    if (curve == 1)
        return CurveDescriptor("Shaking strength dependency on speed", "Speed (km/h)", "Strength (%)",
                               0, 100, 0, 100, 0, false, 0, true);
    return CurveDescriptor("Shaking strength dependency on AoA", "AoA (deg)", "Strength (%)",
                           0, 100, 0, 100, 50, true, 0, false);
}

// A profile as a file may hold it: out of the controls' range, base above max, mode 2.
QJsonObject oddProfile()
{
    QJsonArray guns;
    for (int k = 0; k < 5; ++k)
        guns.append(QJsonObject{{"total_effect_strength", 10 + 20 * k}, {"base_frequency", 31 + 5 * k},
                                {"frequency_mode", k == 4 ? 2 : 1}});
    return {{"total_effect_strength", 150}, {"base_frequency", 45}, {"max_frequency", 41}, {"frequency_mode", 2},
            {"curve1", curveJson(100, 0)}, {"curve2", curveJson(50, 50)}, {"gunfire", guns}};
}

// Every number of a settings object under its dotted path ("gunfire.2.base_frequency").
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

// The control at a path of object names below root ("gunfire_3/base_frequency").
template <class T>
T* find(QWidget* root, const QString& path)
{
    QWidget* at = root;
    const QStringList names = path.split('/');
    for (int k = 0; at && k < names.size() - 1; ++k)
        at = at->findChild<QWidget*>(names[k]);
    return at ? at->findChild<T*>(names.last()) : nullptr;
}

// What a control shows: a spin box's value, a check box's state, a preview's first output.
QVariant shown(QWidget* root, const QString& path)
{
    QWidget* control = find<QWidget>(root, path);
    if (auto* spinBox = qobject_cast<QSpinBox*>(control))
        return spinBox->value();
    if (auto* checkBox = qobject_cast<QCheckBox*>(control))
        return checkBox->isChecked();
    auto* plot = control ? control->findChild<QCustomPlot*>() : nullptr;
    if (plot && !plot->graph(0)->data()->isEmpty())
        return plot->graph(0)->data()->at(0)->value;
    return {};
}

QMap<QString, double> leavesOf(const EffectSettingsBase& settings)
{
    QJsonObject object;
    settings.toJson(object);
    QMap<QString, double> leaves;
    flatten(object.toVariantMap(), QString(), leaves);
    return leaves;
}

// One editor with settings of its own. Each settingsChanged is logged with the numbers of
// the settings that changed since the one before.
struct Bench {
    std::shared_ptr<QWidget> editor;
    std::shared_ptr<EffectSettingsBase> settings;
    std::function<void()> bind;
    std::function<void()> refresh;
    std::shared_ptr<QMap<QString, double>> last = std::make_shared<QMap<QString, double>>();
    std::shared_ptr<QStringList> reports = std::make_shared<QStringList>();

    QMap<QString, double> leaves() const { return leavesOf(*settings); }
    // New values behind the editor's back, as a profile load writes them.
    void read(const QJsonObject& object) { settings->fromJson(object); *last = leaves(); reports->clear(); }
};

// Settings classes are not final; a final holder is what gets destroyed.
template <class Settings>
struct Holder final {
    Settings settings;
};

template <class Editor, class Settings, class Bind>
Bench make(Bind bindTo)
{
    const auto holder = std::make_shared<Holder<Settings>>();
    const std::shared_ptr<Settings> settings(holder, &holder->settings);
    auto editor = std::make_shared<Editor>();
    Bench b{editor, settings, [=] { bindTo(editor.get(), settings.get()); }, [editor] { editor->refresh(); }};
    QObject::connect(editor.get(), &Editor::settingsChanged, editor.get(),
                     [settings, last = b.last, reports = b.reports] {
        const QMap<QString, double> now = leavesOf(*settings);
        QStringList changed;
        for (auto it = now.begin(); it != now.end(); ++it)
            if (last->value(it.key()) != it.value())
                changed << it.key();
        reports->append(changed.join('+'));
        *last = now;
    });
    return b;
}

Bench bench(const QString& kind)
{
    const auto plain = [](auto* editor, auto* settings) { editor->setSettings(settings); };
    const auto dual = [](auto* editor, auto* settings) {
        editor->setSettings(settings, descriptor(1), descriptor(2), true);
    };
    if (kind == "fixed")
        return make<ShakerWithFixedFrequencyWidget, ShakerWithFixedFrequencySettings>(plain);
    if (kind == "variable")
        return make<ShakerWithVariableFrequencyWidget, ShakerWithVariableFrequencySettings>(plain);
    if (kind == "gunfire")
        return make<GunfireSettingsWidget, GunfireShakerSettings>(plain);
    if (kind == "singleCurve")
        return make<SingleCurveEffectWidget, SingleCurveEffectSettings>(
            [](auto* editor, auto* settings) { editor->setSettings(settings, descriptor(1)); });
    if (kind == "singleVar")
        return make<ShakerWithSingleCurveAndVariableFrequencyWidget, ShakerWithSingleCurveAndVariableFrequencySettings>(
            [](auto* editor, auto* settings) { editor->setSettings(settings, descriptor(1), true); });
    if (kind == "dualVar")
        return make<ShakerWithDualCurveAndVariableFrequencyWidget,
                    ShakerWithDualCurveAndVariableFrequencySettings>(dual);
    return make<ShakerWithDualCurveAndFixedFrequencyWidget, ShakerWithDualCurveAndFixedFrequencySettings>(dual);
}

// Bound to strength 50, base 20, max 40, mode 0 and rising curves, and shown; a bind that
// reported anything stays in the log.
Bench started(const QString& kind)
{
    Bench b = bench(kind);
    b.read({{"total_effect_strength", 50}, {"curve1", curveJson(0, 100)}, {"curve2", curveJson(0, 100)}});
    b.bind();
    showExposed(b.editor.get(), QSize(480, b.editor->sizeHint().height()));
    return b;
}

} // namespace

class TestShakerEditors : public QObject {
    Q_OBJECT

private slots:
    void controlStoresItsFieldOnce_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("field"); // one step up from the start
        QTest::newRow("fixed strength") << "fixed" << "total_effect_strength" << "total_effect_strength";
        QTest::newRow("fixed base slider") << "fixed" << "slider" << "base_frequency";
        QTest::newRow("fixed mode") << "fixed" << "mode_check_box" << "frequency_mode";
        QTest::newRow("variable strength") << "variable" << "total_effect_strength" << "total_effect_strength";
        QTest::newRow("variable base") << "variable" << "base_frequency" << "base_frequency";
        QTest::newRow("variable max") << "variable" << "max_frequency" << "max_frequency";
        QTest::newRow("single variable strength") << "singleVar" << "total_effect_strength" << "total_effect_strength";
        QTest::newRow("single variable base slider") << "singleVar" << "slider" << "base_frequency";
        QTest::newRow("single variable max slider") << "singleVar" << "groupBox/horizontalSlider" << "max_frequency";
        QTest::newRow("single variable mode") << "singleVar" << "mode_check_box" << "frequency_mode";
        QTest::newRow("dual variable strength") << "dualVar" << "total_effect_strength" << "total_effect_strength";
        QTest::newRow("dual variable base") << "dualVar" << "base_frequency" << "base_frequency";
        QTest::newRow("dual variable max") << "dualVar" << "max_frequency" << "max_frequency";
        QTest::newRow("dual variable mode") << "dualVar" << "mode_check_box" << "frequency_mode";
        QTest::newRow("dual fixed strength") << "dualFixed" << "total_effect_strength" << "total_effect_strength";
        QTest::newRow("dual fixed base") << "dualFixed" << "base_frequency" << "base_frequency";
        QTest::newRow("dual fixed mode") << "dualFixed" << "mode_check_box" << "frequency_mode";
        QTest::newRow("single curve strength") << "singleCurve" << "total_effect_strength" << "total_effect_strength";
        QTest::newRow("gun 1 strength")
            << "gunfire" << "gunfire_1/total_effect_strength" << "gunfire.0.total_effect_strength";
        QTest::newRow("gun 3 base") << "gunfire" << "gunfire_3/base_frequency" << "gunfire.2.base_frequency";
        QTest::newRow("gun 5 mode") << "gunfire" << "gunfire_5/mode_check_box" << "gunfire.4.frequency_mode";
    }

    void controlStoresItsFieldOnce()
    {
        QFETCH(QString, kind);
        QFETCH(QString, control);
        QFETCH(QString, field);
        Bench b = started(kind);
        const double value = b.leaves().value(field) + 1;
        QWidget* widget = find<QWidget>(b.editor.get(), control);
        QVERIFY(widget);
        if (auto* toolBox = b.editor->findChild<QToolBox*>()) {
            for (int k = 0; k < toolBox->count(); ++k)
                if (toolBox->widget(k)->isAncestorOf(widget))
                    toolBox->setCurrentIndex(k);
            settle();
        }
        QVERIFY(widget->isVisible());
        if (qobject_cast<QCheckBox*>(widget))
            QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
        else
            QTest::keyClick(widget, qobject_cast<QSlider*>(widget) ? Qt::Key_Right : Qt::Key_Up);
        QCOMPARE(*b.reports, QStringList{field});
        QCOMPARE(b.leaves().value(field), value);
        QVERIFY(!saveScreenshot(b.editor.get(), QStringLiteral("control-") + QTest::currentDataTag()).isEmpty());
    }

    void loadShowsEverythingAndStoresNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QVariantMap>("expected");
        const QVariantMap strength{{"total_effect_strength", 100}};
        auto with = [](QVariantMap map, const QVariantMap& more) { return map.insert(more), map; };
        const QVariantMap fixed = with(strength, {{"base_frequency", 45}, {"mode_check_box", true}});
        const QVariantMap variable = with(strength, {{"base_frequency", 45}, {"max_frequency", 41}});
        const QVariantMap curve1{{"curve1_view", 100.0}};
        const QVariantMap curves = with(curve1, {{"curve2_view", 50.0}});
        QTest::newRow("fixed") << "fixed" << fixed;
        QTest::newRow("variable") << "variable" << variable;
        QTest::newRow("single variable") << "singleVar" << with(with(variable, fixed), curve1);
        QTest::newRow("dual variable") << "dualVar" << with(with(variable, fixed), curves);
        QTest::newRow("dual fixed") << "dualFixed" << with(fixed, curves);
        QTest::newRow("single curve") << "singleCurve" << with(strength, curve1);
        QVariantMap guns;
        for (int k = 0; k < 5; ++k) {
            const QString gun = QStringLiteral("gunfire_%1/").arg(k + 1);
            guns.insert(gun + "total_effect_strength", 10 + 20 * k);
            guns.insert(gun + "base_frequency", qMin(31 + 5 * k, 50));
            guns.insert(gun + "mode_check_box", true);
        }
        QTest::newRow("gunfire") << "gunfire" << guns;
    }

    void loadShowsEverythingAndStoresNothing()
    {
        QFETCH(QString, kind);
        QFETCH(QVariantMap, expected);
        Bench b = started(kind);
        b.read(oddProfile());
        const QMap<QString, double> loaded = b.leaves();
        b.refresh();
        QCOMPARE(*b.reports, QStringList());
        QCOMPARE(b.leaves(), loaded);
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QVERIFY2(shown(b.editor.get(), it.key()) == it.value(), qPrintable(it.key()));
        QVERIFY(!saveScreenshot(b.editor.get(), QStringLiteral("loaded-") + QTest::currentDataTag()).isEmpty());

        // Binding to such a profile keeps it as well.
        Bench fresh = bench(kind);
        fresh.read(oddProfile());
        fresh.bind();
        QCOMPARE(*fresh.reports, QStringList());
        QCOMPARE(fresh.leaves(), loaded);
    }

    void frequencyRulePushesTheOtherBox_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QPoint>("start"); // (base, max)
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("value");
        QTest::addColumn<QPoint>("result"); // a pushed box reports first
        QTest::newRow("dual base push") << "dualVar" << QPoint(25, 30) << "base_frequency" << 30 << QPoint(30, 31);
        QTest::newRow("single max push") << "singleVar" << QPoint(40, 45) << "max_frequency" << 35 << QPoint(34, 35);
        QTest::newRow("plain base push") << "variable" << QPoint(10, 12) << "base_frequency" << 20 << QPoint(20, 21);
        QTest::newRow("plain max push") << "variable" << QPoint(10, 12) << "max_frequency" << 5 << QPoint(4, 5);
        QTest::newRow("both at 50") << "dualVar" << QPoint(45, 50) << "base_frequency" << 50 << QPoint(50, 50);
        QTest::newRow("both at 1") << "singleVar" << QPoint(1, 5) << "max_frequency" << 1 << QPoint(1, 1);
    }

    void frequencyRulePushesTheOtherBox()
    {
        QFETCH(QString, kind);
        QFETCH(QPoint, start);
        QFETCH(QString, control);
        QFETCH(int, value);
        QFETCH(QPoint, result);
        const bool baseMoved = control == "base_frequency";
        QStringList reports{control};
        if (baseMoved ? result.y() != start.y() : result.x() != start.x())
            reports.prepend(baseMoved ? "max_frequency" : "base_frequency");
        Bench b = started(kind);
        b.read({{"base_frequency", start.x()}, {"max_frequency", start.y()}});
        b.refresh();
        find<QSpinBox>(b.editor.get(), control)->setValue(value);
        QCOMPARE(*b.reports, reports);
        QCOMPARE(QPoint(int(b.leaves().value("base_frequency")), int(b.leaves().value("max_frequency"))), result);
        QCOMPARE(shown(b.editor.get(), "base_frequency"), QVariant(result.x()));
        QCOMPARE(shown(b.editor.get(), "max_frequency"), QVariant(result.y()));
        QVERIFY(!saveScreenshot(b.editor.get(), QStringLiteral("rule-") + QTest::currentDataTag()).isEmpty());
    }

    void curveDialogEditsInPlace_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("curve");
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("accept");
        QTest::newRow("single curve, edit, OK") << "singleCurve" << 1 << true << true;
        QTest::newRow("single variable, edit, Cancel") << "singleVar" << 1 << true << false;
        QTest::newRow("dual variable 1, OK") << "dualVar" << 1 << false << true;
        QTest::newRow("dual variable 2, edit, Cancel") << "dualVar" << 2 << true << false;
        QTest::newRow("dual fixed 1, Cancel") << "dualFixed" << 1 << false << false;
        QTest::newRow("dual fixed 2, edit, OK") << "dualFixed" << 2 << true << true;
    }

    void curveDialogEditsInPlace()
    {
        QFETCH(QString, kind);
        QFETCH(int, curve);
        QFETCH(bool, edit);
        QFETCH(bool, accept);
        Bench b = started(kind);
        const QString key = QStringLiteral("curve%1").arg(curve);
        const QMap<QString, double> before = b.leaves();
        QStringList seen; // title and input name
        int reportsInside = -1;
        whenModal([&](QWidget* dialog) {
            seen << dialog->windowTitle() << dialog->findChild<QLabel*>("input_label")->text();
            dialog->resize(960, 720);
            if (edit && QTest::qWaitForWindowExposed(dialog)) {
                auto* plot = dialog->findChild<QCustomPlot*>("customPlot");
                drag(plot, Qt::LeftButton, plotPixel(plot, 50, 50), plotPixel(plot, 52.37, 61.3), 3);
                auto* output = dialog->findChild<QDoubleSpinBox*>("output_4");
                QTest::mouseClick(output, Qt::LeftButton);
                QTest::keyClick(output, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(output, "7");
                QTest::keyClick(output, Qt::Key_Tab);
                reportsInside = b.reports->size();
            }
            saveScreenshot(dialog, QStringLiteral("dialog-") + QTest::currentDataTag());
            const auto button = accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel;
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>("buttonBox")->button(button), Qt::LeftButton);
        });
        auto* preview = find<QCustomPlot>(b.editor.get(), key + "_view/customPlot");
        QTest::mouseClick(preview, Qt::LeftButton);

        QCOMPARE(seen, QStringList({descriptor(curve).title, descriptor(curve).xLabel}));
        // Three drag steps and one typed value, each reported while the dialog is open.
        QCOMPARE(reportsInside, edit ? 4 : -1);
        QCOMPARE(b.reports->size(), (edit ? 4 : 0) + (accept ? 0 : 1));
        for (const QString& report : std::as_const(*b.reports))
            for (const QString& leaf : report.split('+', Qt::SkipEmptyParts))
                QVERIFY2(leaf.startsWith(key + '.'), qPrintable(leaf));
        QCOMPARE(b.leaves() != before, edit && accept);
        if (edit && accept)
            QCOMPARE(b.leaves().value(key + ".4.out"), 7.0);
        // The preview shows what the settings hold, restored or not.
        QCOMPARE(preview->graph(0)->data()->at(5)->key, b.leaves().value(key + ".5.in"));
        QVERIFY(!saveScreenshot(b.editor.get(), QStringLiteral("curve-") + QTest::currentDataTag()).isEmpty());
    }
};

QTEST_MAIN(TestShakerEditors)
#include "tst_shakereditors.moc"
