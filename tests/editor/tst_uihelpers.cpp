#include "uihelpers.h"
#include "widgettest.h"

#include <QComboBox>
#include <QListView>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QTableView>
#include <QTest>

class TestUiHelpers : public QObject {
    Q_OBJECT

private slots:
    void firmwareVersionText_data();
    void firmwareVersionText();
    void hiddenComboRowKeepsIndexes();
    void disabledComboItemStaysListed();
    void listViewRowHides();
    void helpersIgnoreForeignModelsAndViews();
};

void TestUiHelpers::firmwareVersionText_data()
{
    QTest::addColumn<int>("releaseType");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("patch");
    QTest::addColumn<QString>("text");
    QTest::newRow("release candidate") << 1 << 24 << 1 << 2 << "RC.24.1.2";
    QTest::newRow("release") << 0 << 24 << 1 << 2 << "R.24.1.2";
    QTest::newRow("unknown type is a release") << 2 << 24 << 1 << 2 << "R.24.1.2";
    QTest::newRow("two digits, no padding") << 1 << 24 << 10 << 0 << "RC.24.10.0";
    QTest::newRow("largest bytes") << 1 << 255 << 255 << 255 << "RC.255.255.255";
    QTest::newRow("all zero") << 0 << 0 << 0 << 0 << "R.0.0.0";
}

void TestUiHelpers::firmwareVersionText()
{
    QFETCH(int, releaseType);
    QFETCH(int, year);
    QFETCH(int, version);
    QFETCH(int, patch);
    QFETCH(QString, text);
    QCOMPARE(::firmwareVersionText(uint8_t(releaseType), uint8_t(year), uint8_t(version), uint8_t(patch)),
             text);
}

void TestUiHelpers::hiddenComboRowKeepsIndexes()
{
    QComboBox combo;
    combo.addItems({"zero", "one", "two", "three"});
    combo.setCurrentIndex(3);
    setComboBoxRowHidden(&combo, 1, true);

    QCOMPARE(combo.count(), 4);
    QCOMPARE(combo.currentIndex(), 3);
    QCOMPARE(combo.itemText(2), QString("two"));
    auto* view = qobject_cast<QListView*>(combo.view());
    QVERIFY(view);
    QVERIFY(view->isRowHidden(1));
    QVERIFY(!view->isRowHidden(2));

    setComboBoxRowHidden(&combo, 1, false);
    QVERIFY(!view->isRowHidden(1));

    QVERIFY(WidgetTest::showExposed(&combo, QSize(200, 30)));
    QVERIFY(!WidgetTest::saveScreenshot(&combo, "combo").isEmpty());
}

void TestUiHelpers::disabledComboItemStaysListed()
{
    QComboBox combo;
    combo.addItems({"zero", "one"});
    setComboBoxItemEnabled(&combo, 1, false);
    auto* model = qobject_cast<QStandardItemModel*>(combo.model());
    QVERIFY(model);
    QVERIFY(!model->item(1)->isEnabled());
    QCOMPARE(combo.count(), 2);
    setComboBoxItemEnabled(&combo, 1, true);
    QVERIFY(model->item(1)->isEnabled());
}

void TestUiHelpers::listViewRowHides()
{
    QStringListModel model({"a", "b", "c"});
    QListView view;
    view.setModel(&model);
    setListViewRowHidden(&view, 2, true);
    QVERIFY(view.isRowHidden(2));
    setListViewRowHidden(&view, 2, false);
    QVERIFY(!view.isRowHidden(2));
}

void TestUiHelpers::helpersIgnoreForeignModelsAndViews()
{
    QComboBox combo;
    QStringListModel model({"a", "b"});
    combo.setModel(&model);
    combo.setView(new QTableView);
    // Neither a standard item model nor a list view: nothing happens, nothing crashes.
    setComboBoxItemEnabled(&combo, 1, false);
    setComboBoxRowHidden(&combo, 1, true);
    setComboBoxItemEnabled(nullptr, 0, false);
    setComboBoxRowHidden(nullptr, 0, true);
    setListViewRowHidden(nullptr, 0, true);
    QCOMPARE(combo.count(), 2);
    QVERIFY(model.flags(model.index(1)) & Qt::ItemIsEnabled);
    setComboBoxItemEnabled(&combo, 7, false); // a row that does not exist
}

QTEST_MAIN(TestUiHelpers)
#include "tst_uihelpers.moc"
