#include "app/NumberListModel.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace tavrisk::app {
namespace {

using test::TestApplication;

// Records what the views of a model are told.
struct ModelEvents {
    explicit ModelEvents(NumberListModel& model) {
        QObject::connect(&model, &QAbstractItemModel::rowsInserted,
                         [this](const QModelIndex&, int first, int last) { inserted.emplace_back(first, last); });
        QObject::connect(&model, &NumberListModel::RowsAppended, [this](int last) { appended.push_back(last); });
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { ++resets; });
    }
    std::vector<std::pair<int, int>> inserted;
    std::vector<int> appended;
    int resets = 0;
};

TEST(NumberListModel, AnAppendOutsideABracketIsShownAtOnce) {
    TestApplication();
    NumberListModel model;
    ModelEvents events(model);
    model.Append("02012345678");
    model.Append("0755-1234567");
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(events.inserted, (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}}));
    EXPECT_EQ(events.appended, (std::vector<int>{0, 1}));
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), QStringLiteral("0755-1234567"));
}

TEST(NumberListModel, ABracketShowsItsAppendsAsOneInsertionWhenTheOutermostCloses) {
    TestApplication();
    NumberListModel model;
    model.Append("0101");
    ModelEvents events(model);
    model.BeginUpdate();
    model.Append("0102");
    {
        NumberListModel::Batch inner(model);
        model.Append("0103");
    }
    model.Append("0104");
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.Count(), 4u);
    EXPECT_TRUE(events.inserted.empty());
    model.EndUpdate();
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(events.inserted, (std::vector<std::pair<int, int>>{{1, 3}}));
    EXPECT_EQ(events.appended, (std::vector<int>{3}));

    // A bracket without appends tells the views nothing; an extra close is harmless.
    model.BeginUpdate();
    model.EndUpdate();
    model.EndUpdate();
    EXPECT_EQ(events.inserted.size(), 1u);
    model.Append("0105");
    EXPECT_EQ(model.rowCount(), 5);
}

TEST(NumberListModel, ABatchClosesWhenAnErrorLeavesItsScope) {
    TestApplication();
    NumberListModel model;
    try {
        NumberListModel::Batch batch(model);
        model.Append("0201");
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(model.rowCount(), 1);
    model.Append("0202");
    EXPECT_EQ(model.rowCount(), 2);
}

TEST(NumberListModel, ClearEmptiesTheListAndTheView) {
    TestApplication();
    NumberListModel model;
    model.Append("0301");
    model.Append("0302");
    ModelEvents events(model);
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.Count(), 0u);
    EXPECT_EQ(events.resets, 1);
    model.Append("0303");
    EXPECT_EQ(events.inserted, (std::vector<std::pair<int, int>>{{0, 0}}));
}

TEST(NumberListModel, FileTextEndsEveryNumberWithCrLf) {
    TestApplication();
    NumberListModel model;
    EXPECT_EQ(model.FileText(), "");
    model.Append("02012345678");
    model.Append("0755-1234567");
    EXPECT_EQ(model.FileText(), "02012345678\r\n0755-1234567\r\n");
}

TEST(NumberListModel, OneColumnHeadedFaxThatTheUserCannotEdit) {
    TestApplication();
    NumberListModel model;
    model.Append("0401");
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("FAX"));
    EXPECT_EQ(static_cast<QAbstractItemModel&>(model).columnCount(), 1);
    const Qt::ItemFlags flags = model.flags(model.index(0, 0));
    EXPECT_FALSE(flags.testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(flags.testFlag(Qt::ItemIsSelectable));
    EXPECT_FALSE(model.setData(model.index(0, 0), QStringLiteral("x")));
    EXPECT_FALSE(model.data(model.index(1, 0)).isValid());
}

}  // namespace
}  // namespace tavrisk::app
