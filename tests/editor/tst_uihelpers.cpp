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
    void firmwareVersionText_data()
    {
        QTest::addColumn<QList<int>>("bytes"); // release type, year, version, patch
        QTest::addColumn<QString>("text");
        QTest::newRow("release candidate") << QList<int>{1, 24, 1, 2} << "RC.24.1.2";
        QTest::newRow("release") << QList<int>{0, 24, 1, 2} << "R.24.1.2";
        QTest::newRow("unknown type is a release") << QList<int>{2, 24, 1, 2} << "R.24.1.2";
        QTest::newRow("largest bytes, no padding") << QList<int>{1, 255, 255, 0} << "RC.255.255.0";
    }

    void firmwareVersionText()
    {
        QFETCH(QList<int>, bytes); QFETCH(QString, text);
        QCOMPARE(::firmwareVersionText(uint8_t(bytes[0]), uint8_t(bytes[1]), uint8_t(bytes[2]), uint8_t(bytes[3])), text);
    }

    void rowsHideAndDisableWithoutShiftingIndexes()
    {
        QComboBox combo;
        combo.addItems({"zero", "one", "two", "three"});
        combo.setCurrentIndex(3);
        auto* view = qobject_cast<QListView*>(combo.view());
        auto* model = qobject_cast<QStandardItemModel*>(combo.model());
        QVERIFY(view && model);
        setComboBoxRowHidden(&combo, 1, true);
        setComboBoxItemEnabled(&combo, 2, false);
        QCOMPARE(combo.count(), 4); // the model keeps both entries
        QCOMPARE(combo.currentIndex(), 3);
        QCOMPARE(combo.itemText(2), QString("two"));
        QCOMPARE(QList<bool>({view->isRowHidden(1), view->isRowHidden(2), model->item(2)->isEnabled()}),
                 QList<bool>({true, false, false}));
        QVERIFY(WidgetTest::showExposed(&combo, QSize(200, 30)));
        QVERIFY(!WidgetTest::saveScreenshot(&combo, "combo").isEmpty());
        setComboBoxRowHidden(&combo, 1, false);
        setComboBoxItemEnabled(&combo, 2, true);
        QCOMPARE(QList<bool>({view->isRowHidden(1), model->item(2)->isEnabled()}), QList<bool>({false, true}));

        QStringListModel list({"a", "b", "c"});
        QListView listView;
        listView.setModel(&list);
        setListViewRowHidden(&listView, 2, true);
        QVERIFY(listView.isRowHidden(2));
        setListViewRowHidden(&listView, 2, false);
        QVERIFY(!listView.isRowHidden(2));
    }

    void helpersIgnoreForeignModelsAndViews()
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
};

QTEST_MAIN(TestUiHelpers)
#include "tst_uihelpers.moc"
