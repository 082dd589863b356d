#include "directxsettings.h"
#include "directxsettingswidget.h"
#include "engineshakersettings.h"
#include "genericshakersettings.h"
#include "rpmshakereffectwidget.h"
#include "shakerwithsinglecurveandfixedfrequencywidget.h"
#include "simplespringsettings.h"
#include "smartdampeningsettingswidget.h"
#include "smartdampersettings.h"
#include "springwithsinglecurvesettingswidget.h"
#include "totaleffectstrengthsettingswidget.h"
#include "trimsettings.h"
#include "trimsettingswidget.h"
#include "widgettest.h"

#include <qcustomplot.h>

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <cmath>
#include <memory>

using namespace WidgetTest;

namespace {

// Every editor starts from these values; each settings class reads the members it has.
const QJsonObject startValues{
    {"total_effect_strength", 50}, {"dampening_contribution", 30}, {"base_frequency", 20}, {"frequency_mode", 0},
    {"frequency_multiplier", 3}, {"force", 50}, {"periodic", 50}, {"trimmer", 50}, {"static_dampening", 30},
    {"dynamic_dampening", 30}, {"trim_buttons_allowed", false}, {"force_release_allowed", true}, {"trim_reset_allowed", false}};

// One editor bound to its settings, and everything it reported in order: 's' for
// settingsChanged, 'c' for the spring's curveChanged (a spy per signal would lose the order).
struct Subject {
    std::unique_ptr<QWidget> editor;
    std::function<void()> refresh;
    std::function<QJsonObject(const QJsonObject&)> store; // writes a patch's members, returns the whole
    ResponseCurve* curve = nullptr;
    QString log;

    QJsonObject json() { return store({}); }
    template <class T = QWidget> T* child(const QString& name) { return editor->findChild<T*>(name); }
};

template <class Editor, class Settings, class... Binding>
std::unique_ptr<Subject> bind(Settings& settings, Binding... binding)
{
    auto s = std::make_unique<Subject>();
    auto* editor = new Editor;
    s->editor.reset(editor);
    s->refresh = [editor] { editor->refresh(); };
    s->store = [&settings](const QJsonObject& patch) {
        QJsonObject object;
        settings.toJson(object);
        for (auto it = patch.begin(); it != patch.end(); ++it)
            object.insert(it.key(), it.value());
        if (!patch.isEmpty())
            settings.fromJson(object);
        return object;
    };
    settings = Settings();
    s->store(startValues);
    QObject::connect(editor, &Editor::settingsChanged, editor, [s = s.get()] { s->log += 's'; });
    if constexpr (std::is_same_v<Editor, SpringWithSingleCurveSettingsWidget>)
        QObject::connect(editor, &Editor::curveChanged, editor, [s = s.get()] { s->log += 'c'; });
    if constexpr (std::is_base_of_v<SingleCurveSettingsAddon, Settings>)
        s->curve = &settings.curve1;
    editor->setSettings(&settings, binding...);
    if (!showExposed(editor, editor->size()))
        qWarning("an editor was never exposed");
    return s;
}

// The plotted points of the editor's curve preview.
bool previewShows(QWidget* editor, const ResponseCurve& curve)
{
    const auto data = editor->findChild<QCustomPlot*>("customPlot")->graph(0)->data();
    bool same = data->size() == ResponseCurve::pointCount;
    for (int k = 0; same && k < ResponseCurve::pointCount; ++k)
        same = data->at(k)->key == curve.points[k].in && data->at(k)->value == curve.points[k].out;
    return same;
}

// Every keystroke that makes a number is a change; Tab leaves the box.
void type(QAbstractSpinBox* box, const QString& text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
}

} // namespace

class TestValueAndCurveEditors : public QObject {
    Q_OBJECT

    TotalEffectStrengthSettingsAddon strength;
    SimpleSpringSettings spring;
    GenericShakerSettings shaker;
    EngineShakerSettings rpm;
    TrimSettings trim;
    DirectXSettings directX;
    SmartDamperSettings damper;

    std::unique_ptr<Subject> make(const QString& kind)
    {
        std::unique_ptr<Subject> s;
        if (kind == "strength") s = bind<TotalEffectStrengthSettingsWidget>(strength);
        if (kind == "spring") s = bind<SpringWithSingleCurveSettingsWidget>(spring, SimpleSpringSettings::curveDescriptor());
        if (kind == "shaker") s = bind<ShakerWithSingleCurveAndFixedFrequencyWidget>(shaker, GenericShakerSettings::curveDescriptor(), true);
        if (kind == "rpm") s = bind<RPMShakerEffectWidget>(rpm, EngineShakerSettings::curveDescriptor());
        if (kind == "trim") s = bind<TrimSettingsWidget>(trim);
        if (kind == "directX") s = bind<DirectXSettingsWidget>(directX);
        if (kind == "damper") s = bind<SmartDampeningSettingsWidget>(damper);
        return s;
    }

private slots:
    void controlWritesItsFieldOnce_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QJsonValue>("value");
        QTest::newRow("strength") << "strength" << "total_effect_strength" << int(Qt::Key_Up) << "total_effect_strength" << QJsonValue(51);
        QTest::newRow("spring strength slider") << "spring" << "horizontalSlider" << int(Qt::Key_PageDown) << "total_effect_strength" << QJsonValue(40);
        QTest::newRow("spring dampening slider") << "spring" << "slider" << int(Qt::Key_End) << "dampening_contribution" << QJsonValue(100);
        QTest::newRow("shaker strength") << "shaker" << "total_effect_strength" << int(Qt::Key_Down) << "total_effect_strength" << QJsonValue(49);
        QTest::newRow("shaker frequency") << "shaker" << "base_frequency" << int(Qt::Key_Up) << "base_frequency" << QJsonValue(21);
        QTest::newRow("shaker mode") << "shaker" << "mode_check_box" << int(Qt::Key_Space) << "frequency_mode" << QJsonValue(1);
        QTest::newRow("rpm strength") << "rpm" << "total_effect_strength" << int(Qt::Key_Up) << "total_effect_strength" << QJsonValue(51);
        QTest::newRow("rpm multiplier") << "rpm" << "frequency_multiplier" << int(Qt::Key_Down) << "frequency_multiplier" << QJsonValue(2);
        QTest::newRow("trim buttons") << "trim" << "trim_buttons" << int(Qt::Key_Space) << "trim_buttons_allowed" << QJsonValue(true);
        QTest::newRow("force release") << "trim" << "force_release" << int(Qt::Key_Space) << "force_release_allowed" << QJsonValue(false);
        QTest::newRow("trim reset") << "trim" << "trim_reset" << int(Qt::Key_Space) << "trim_reset_allowed" << QJsonValue(true);
        QTest::newRow("DirectX strength") << "directX" << "total_effect_strength" << int(Qt::Key_Up) << "total_effect_strength" << QJsonValue(51);
        QTest::newRow("DirectX spring") << "directX" << "spring_effect_strength" << int(Qt::Key_Down) << "force" << QJsonValue(49);
        QTest::newRow("DirectX periodic") << "directX" << "periodic_effect_strength" << int(Qt::Key_Up) << "periodic" << QJsonValue(51);
        QTest::newRow("DirectX trimmer slider") << "directX" << "horizontalSlider_4" << int(Qt::Key_PageUp) << "trimmer" << QJsonValue(60);
        QTest::newRow("damper strength slider") << "damper" << "horizontalSlider" << int(Qt::Key_PageUp) << "total_effect_strength" << QJsonValue(60);
        QTest::newRow("static dampening") << "damper" << "static_dampening_spinner" << int(Qt::Key_Up) << "static_dampening" << QJsonValue(31.0);
        QTest::newRow("dynamic dampening slider") << "damper" << "dynamic_dampening_slider" << int(Qt::Key_PageUp) << "dynamic_dampening" << QJsonValue(40.0);
    }

    void controlWritesItsFieldOnce()
    {
        QFETCH(QString, kind); QFETCH(QString, control); QFETCH(int, key); QFETCH(QString, field); QFETCH(QJsonValue, value);
        auto subject = make(kind);
        QJsonObject expected = subject->json();
        expected.insert(field, value);
        QTest::keyClick(subject->child(control), Qt::Key(key));
        QCOMPARE(subject->log, QString("s")); // binding reported nothing, the key press once
        QCOMPARE(subject->json(), expected);
        QVERIFY(!saveScreenshot(subject->editor.get(), QStringLiteral("control-") + QTest::currentDataTag()).isEmpty());
    }

    void refreshLoadsEveryControlSilently_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QJsonObject>("stored"); // what a profile file held
        QTest::addColumn<QVariantMap>("shown");
        QJsonArray curve;
        for (int k = 0; k < ResponseCurve::pointCount; ++k)
            curve.append(QJsonObject{{"in", 10 * k}, {"out", 100 - 7 * k}});
        using Map = QVariantMap;
        QTest::newRow("strength") << "strength" << QJsonObject{{"total_effect_strength", 150}} << Map{{"total_effect_strength", 100}};
        QTest::newRow("spring") << "spring" << QJsonObject{{"total_effect_strength", -5}, {"dampening_contribution", 120}, {"curve1", curve}}
                                << Map{{"total_effect_strength", 0}, {"smart_dampening_contribution", 100}};
        QTest::newRow("shaker") << "shaker" << QJsonObject{{"total_effect_strength", 70}, {"base_frequency", 60}, {"frequency_mode", 2}, {"curve1", curve}}
                                << Map{{"total_effect_strength", 70}, {"base_frequency", 50}, {"mode_check_box", true}};
        QTest::newRow("rpm") << "rpm" << QJsonObject{{"total_effect_strength", 70}, {"frequency_multiplier", 12}, {"curve1", curve}}
                             << Map{{"total_effect_strength", 70}, {"frequency_multiplier", 10}};
        QTest::newRow("trim") << "trim" << QJsonObject{{"trim_buttons_allowed", true}, {"force_release_allowed", false}, {"trim_reset_allowed", true}}
                              << Map{{"trim_buttons", true}, {"force_release", false}, {"trim_reset", true}};
        QTest::newRow("DirectX") << "directX" << QJsonObject{{"total_effect_strength", 70}, {"force", -1}, {"periodic", 7}, {"trimmer", 250}}
                                 << Map{{"total_effect_strength", 70}, {"spring_effect_strength", 0}, {"periodic_effect_strength", 7}, {"trimmer_effect_strength", 100}};
        // The sliders follow the whole, clamped number that the spinners show.
        QTest::newRow("damper") << "damper" << QJsonObject{{"total_effect_strength", 70}, {"static_dampening", 12.7}, {"dynamic_dampening", 1e10}}
                                << Map{{"total_effect_strength", 70}, {"static_dampening_slider", 12}, {"dynamic_dampening_slider", 1000}};
    }

    void refreshLoadsEveryControlSilently()
    {
        QFETCH(QString, kind); QFETCH(QJsonObject, stored); QFETCH(QVariantMap, shown);
        auto subject = make(kind);
        subject->store(stored);
        const QJsonObject held = subject->json();
        subject->refresh();
        for (auto it = shown.cbegin(); it != shown.cend(); ++it) {
            QWidget* control = subject->child(it.key());
            QCOMPARE(control->property(control->inherits("QAbstractButton") ? "checked" : "value"), it.value());
        }
        QCOMPARE(subject->log, QString());
        QCOMPARE(subject->json(), held);
        QVERIFY(!subject->curve || previewShows(subject->editor.get(), *subject->curve));
        QVERIFY(!saveScreenshot(subject->editor.get(), QStringLiteral("refresh-") + QTest::currentDataTag()).isEmpty());
    }

    void dampeningSliderFollowsSpinnerAndNeverShrinks()
    {
        auto subject = make("damper");
        auto* slider = subject->child<QSlider>("static_dampening_slider");
        type(subject->child<QSpinBox>("static_dampening_spinner"), "250");
        QCOMPARE(subject->log, QString("sss")); // keyboard tracking stores 2, 25 and 250
        QCOMPARE(damper.static_dampening, 250.0f);
        QCOMPARE(QPoint(slider->value(), slider->maximum()), QPoint(250, 250));
        QVERIFY(!saveScreenshot(subject->editor.get(), "dampening-250").isEmpty());

        damper.static_dampening = std::nanf("");
        damper.dynamic_dampening = -3.0f;
        subject->refresh();
        QCOMPARE(subject->log, QString("sss"));
        QCOMPARE(QPoint(slider->value(), slider->maximum()), QPoint(0, 250));
        QCOMPARE(subject->child<QSpinBox>("dynamic_dampening_spinner")->value(), 0);
        QVERIFY(std::isnan(damper.static_dampening));
        QCOMPARE(damper.dynamic_dampening, -3.0f);
    }

    void curveEditsReportAtOnceAndCancelRestores_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("whileOpen");
        QTest::addColumn<QString>("afterClose");
        const QString spring = "Spring strength dependency on control deflection";
        QTest::newRow("spring dragged, OK") << "spring" << spring << "drag" << true << "scscsc" << "scscsc";
        QTest::newRow("spring typed, Cancel") << "spring" << spring << "type" << false << "sc" << "scsc";
        QTest::newRow("spring untouched, Cancel") << "spring" << spring << "" << false << "" << "sc";
        QTest::newRow("shaker dragged, Cancel") << "shaker" << "Mapping of shaking magnitude" << "drag" << false << "sss" << "ssss";
        QTest::newRow("shaker untouched, OK") << "shaker" << "Mapping of shaking magnitude" << "" << true << "" << "";
        QTest::newRow("rpm typed, OK") << "rpm" << "Shaking strength dependency on engine RPM" << "type" << true << "s" << "s";
    }

    void curveEditsReportAtOnceAndCancelRestores()
    {
        QFETCH(QString, kind); QFETCH(QString, title); QFETCH(QString, edit); QFETCH(bool, accept); QFETCH(QString, whileOpen); QFETCH(QString, afterClose);
        auto subject = make(kind);
        const ResponseCurve stored = *subject->curve;
        QString shownTitle, logWhileOpen;
        whenModal([&](QWidget* dialog) {
            shownTitle = dialog->windowTitle();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            auto* plot = dialog->findChild<QCustomPlot*>("customPlot");
            const QPoint point = plotPixel(plot, stored.points[5].in, stored.points[5].out);
            if (edit == "drag")
                drag(plot, Qt::LeftButton, point, point + QPoint(0, 30), 3);
            else if (edit == "type")
                type(dialog->findChild<QDoubleSpinBox*>("output_4"), "7");
            logWhileOpen = subject->log;
            saveScreenshot(dialog, QStringLiteral("dialog-") + QTest::currentDataTag());
            const auto button = accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel;
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(button), Qt::LeftButton);
        });
        QTest::mouseClick(subject->child<QCustomPlot>("customPlot"), Qt::LeftButton);
        QCOMPARE(shownTitle, title);
        QCOMPARE(logWhileOpen, whileOpen);
        QCOMPARE(subject->log, afterClose);
        QCOMPARE(*subject->curve == stored, edit.isEmpty() || !accept);
        QVERIFY(previewShows(subject->editor.get(), *subject->curve));
        QVERIFY(!saveScreenshot(subject->editor.get(), QStringLiteral("curve-") + QTest::currentDataTag()).isEmpty());
    }
};

QTEST_MAIN(TestValueAndCurveEditors)
#include "tst_valueandcurveeditors.moc"
