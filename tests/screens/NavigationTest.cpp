#include "screens/Navigation.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using namespace quindle;

namespace {

QStringList pictures(int count)
{
    QStringList list{QString()};
    for (int i = 1; i <= count; ++i)
        list << QStringLiteral("/k/Rings/Item %1.jpg").arg(i);
    return list;
}

enum Op { Forward, Back, Open, Step, Close };

struct Action
{
    Op op;
    int argument = 0;     // the slot to open, the step's direction
    bool expected = true; // what the operation answers; for Close, whether the page moved
};

struct Row
{
    const char* name;
    int count;
    int thumbsPerPage;
    std::vector<Action> actions;
    std::int32_t pageStart;
    std::int32_t currentPicture;
    Navigation::PagingButtons buttons;
};

// clang-format off
const Row rows[] = {
    {"exactly one page", 12, 12, {}, 0, 0, {false, false}},
    {"empty list", 0, 12, {}, 0, 0, {false, false}},
    {"back at the first page stays", 15, 12, {{Back, 0, false}}, 0, 0, {false, true}},
    {"forward and back", 30, 12, {{Forward}, {Forward}, {Back}}, 12, 0, {true, true}},
    {"detail at the first picture", 15, 12, {{Open, 1}}, 0, 1, {false, true}},
    {"detail at the last picture", 15, 12, {{Forward}, {Open, 3}}, 12, 15, {true, false}},
    {"slot past the list's end", 15, 12, {{Forward}, {Open, 4, false}}, 12, 0, {true, false}},
    {"step over the page's end", 15, 12, {{Open, 12}, {Step, +1}, {Close}}, 12, 13, {true, false}},
    {"step back over the page's start", 15, 12, {{Forward}, {Open, 1}, {Step, -1}}, 0, 12, {true, true}},
    {"steps on one page", 15, 12, {{Open, 5}, {Step, +1}, {Step, -1}, {Close, 0, false}}, 0, 5, {false, true}},
    {"step past the last picture", 3, 12, {{Open, 3}, {Step, +1, false}}, 0, 3, {true, false}},
    {"one-slot grid", 5, 1, {{Open, 1}, {Step, +1}, {Step, +1}, {Step, -1}}, 1, 2, {true, true}},
};
// clang-format on

} // namespace

TEST(Navigation, PagingAndSteppingFollowTheList)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Navigation navigation(row.thumbsPerPage);
        navigation.showList(pictures(row.count));
        for (const Action& action : row.actions) {
            if (action.op == Forward) {
                navigation.pageForward();
                continue;
            }
            const bool answer = action.op == Back   ? navigation.pageBack()
                                : action.op == Open ? navigation.openDetail(action.argument)
                                : action.op == Step ? navigation.stepDetail(action.argument)
                                                    : navigation.closeDetail();
            EXPECT_EQ(action.expected, answer);
        }
        EXPECT_EQ(row.pageStart, navigation.pageStart());
        EXPECT_EQ(row.currentPicture, navigation.currentPicture());
        EXPECT_EQ(row.buttons, navigation.pagingButtons());
    }
}

TEST(Navigation, NeighbourPicturesAreThoseThePagingButtonsShow)
{
    const struct
    {
        const char* name;
        int count;
        int forwards;
        std::vector<int> positions;
    } rows[] = {
        {"first page", 10, 0, {5, 6, 7, 8}},
        {"middle page: the next one first", 10, 1, {9, 10, 1, 2, 3, 4}},
        {"last page", 10, 2, {5, 6, 7, 8}},
        {"a single page", 3, 0, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Navigation navigation(4);
        navigation.showList(pictures(row.count));
        for (int i = 0; i < row.forwards; ++i)
            navigation.pageForward();
        QStringList expected;
        for (int position : row.positions)
            expected << pictures(row.count).at(position);
        EXPECT_EQ(expected, navigation.neighbourPictures());
    }
}

TEST(Navigation, TheIdleCountdown)
{
    using enum Navigation::IdleStep;
    // The countdown before, whether the slideshow is on, the step, the countdown after.
    const std::tuple<std::int16_t, bool, Navigation::IdleStep, std::int16_t> rows[] = {
        {120, true, Wait, 119},  {1, true, NextSlide, 0},           {0, true, NextSlide, -1},
        {1, false, Restart, 60}, {-32768, true, NextSlide, -32768}, // it stops instead of wrapping
    };
    for (const auto& [start, attract, step, after] : rows) {
        SCOPED_TRACE(start);
        Navigation navigation;
        navigation.setIdleCountdown(start);
        EXPECT_EQ(step, navigation.countDown(attract));
        EXPECT_EQ(after, navigation.idleCountdown());
    }
}
