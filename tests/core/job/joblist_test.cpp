#include "core/job/joblist.h"
#include "support/testsupport.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
// Three files of different sizes in a temporary folder.
class JobListTest : public ::testing::Test {
protected:
    TempFolder folder; // before the paths, which it creates
    QString a = folder.write("a.jpg", QByteArray(1234567, 'a'));
    QString b = folder.write("b.gif", "GIF89a");
    QString c = folder.write("c.png", "");
    JobList list;

    QStringList paths() const {
        QStringList result;
        for (int row = 0; row < list.count(); ++row)
            result << list.path(row);
        return result;
    }
};
} // namespace

TEST_F(JobListTest, StartsWithTheHeaderOnly) {
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.Rows(), 1);
    EXPECT_EQ(list.currentRow(), -1);
    EXPECT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.headerData(0, Qt::Horizontal).toString(), "Dateiname & Pfad");
    EXPECT_EQ(list.headerData(1, Qt::Horizontal).toString(), "Größe");
    EXPECT_EQ(JobList::pathColumnWidthTwips(7000), 6288);
}

TEST_F(JobListTest, AddingThreeMakesTheThirdCurrentAndMinusRemovesIt) {
    EXPECT_TRUE(list.add({a, b, c}).isEmpty());
    EXPECT_EQ(paths(), QStringList({a, b, c}));
    EXPECT_EQ(list.Rows(), 4);
    EXPECT_EQ(list.currentRow(), 2);
    // sizes as plain digits, no unit or grouping
    EXPECT_EQ(list.data(list.index(0, JobList::SizeColumn)).toString(), "1234567");
    EXPECT_EQ(list.data(list.index(1, JobList::SizeColumn)).toString(), "6");
    EXPECT_EQ(list.sizeText(2), "0");
    EXPECT_EQ(list.data(list.index(0, JobList::PathColumn)).toString(), a);

    EXPECT_TRUE(list.removeCurrent());
    EXPECT_TRUE(list.isRemoved(2));
    EXPECT_TRUE(list.data(list.index(2, 0), JobList::RemovedRole).toBool());
    EXPECT_FALSE(list.isRemoved(0));
    EXPECT_FALSE(list.isRemoved(1));
    // a removed row keeps its texts and still counts
    EXPECT_EQ(list.path(2), c);
    EXPECT_EQ(list.Rows(), 4);
    // "-" again on the same row changes nothing; the current row does not move
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_FALSE(list.isRemoved(1));

    // a clicked row becomes current and "-" acts on it
    list.setCurrentRow(0);
    EXPECT_TRUE(list.removeCurrent());
    EXPECT_TRUE(list.isRemoved(0));
}

TEST_F(JobListTest, SizeIsTakenWhenAdded) {
    list.add({b});
    QFile f(b);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("more bytes");
    f.close();
    EXPECT_EQ(list.sizeText(0), "6");
}

TEST_F(JobListTest, MinusWithNoDataRowDoesNothing) {
    EXPECT_FALSE(list.removeCurrent());
    list.add({a});
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_FALSE(list.isRemoved(0));
    EXPECT_EQ(list.headerData(0, Qt::Horizontal).toString(), "Dateiname & Pfad");
}

TEST_F(JobListTest, MinusMinusLeavesTheHeaderAndAddingStartsAtTheFirstRowAgain) {
    list.add({a, b, c});
    list.removeCurrent();
    list.setCurrentRow(0);
    list.removeCurrent();
    int resets = 0;
    QObject::connect(&list, &QAbstractItemModel::modelReset, [&] { ++resets; });
    list.removeAll();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(list.Rows(), 1);
    EXPECT_EQ(list.currentRow(), -1);
    EXPECT_FALSE(list.removeCurrent());

    list.add({b});
    EXPECT_EQ(paths(), QStringList({b}));
    EXPECT_FALSE(list.isRemoved(0));
    EXPECT_EQ(list.currentRow(), 0);
}

TEST_F(JobListTest, DuplicatesAreKept) {
    list.add({a});
    list.add({a});
    EXPECT_EQ(paths(), QStringList({a, a}));
    EXPECT_EQ(list.currentRow(), 1);
}

TEST_F(JobListTest, VanishedOrUnusableFilesAreSkipped) {
    list.add({a});
    QFile::remove(b);
    const QString gone = folder.file("nie-da.jpg");
    const QString dir = folder.path();
    QFile::link(folder.file("weg.png"), folder.file("kaputt.png"));
    const QString broken = folder.file("kaputt.png");
    int inserts = 0;
    QObject::connect(&list, &QAbstractItemModel::rowsInserted, [&] { ++inserts; });

    const QStringList skipped = list.add({b, c, gone, dir, broken});
    EXPECT_EQ(skipped, QStringList({b, gone, dir, broken}));
    EXPECT_EQ(paths(), QStringList({a, c}));
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(inserts, 1);

    // nothing usable: nothing added, the current row stays
    list.setCurrentRow(0);
    EXPECT_EQ(list.add({gone}), QStringList({gone}));
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.currentRow(), 0);
}
