#include "tools/demo-kiosk/DemoKioskCommandLine.h"

#include <gtest/gtest.h>

using namespace quindle::demo;

namespace {

DemoKioskCommandLine parse(QStringList arguments)
{
    arguments.prepend("quindle-demo-kiosk");
    return DemoKioskCommandLine(arguments);
}

} // namespace

TEST(DemoKioskCommandLine, DefaultsMakeTheFullDemo)
{
    const DemoKioskCommandLine line = parse({"--output", "/tmp/x"});
    ASSERT_EQ(DemoKioskCommandLine::Outcome::Run, line.outcome());
    const DemoKioskOptions& options = line.options();
    EXPECT_EQ("/tmp/x", options.outputFolder);
    EXPECT_EQ(QSize(1920, 1080), options.screenSize);
    EXPECT_EQ(5, options.categoryCount);
    EXPECT_EQ(15, options.minPicturesPerCategory);
    EXPECT_EQ(40, options.maxPicturesPerCategory);
    EXPECT_EQ(QSize(1200, 900), options.pictureSize);
    EXPECT_EQ(QSize(480, 360), options.thumbnailSize);
    EXPECT_EQ(PrintingChoice::Prn, options.printing);
    EXPECT_FALSE(options.settingsOnly);
}

TEST(DemoKioskCommandLine, ReadsEveryOption)
{
    const DemoKioskCommandLine line = parse({"--output",
                                             "out",
                                             "--width",
                                             "1280",
                                             "--height",
                                             "720",
                                             "--categories",
                                             "9",
                                             "--pictures-per-category",
                                             "5000",
                                             "--picture-size",
                                             "64x48",
                                             "--thumbnail-size",
                                             "32X24",
                                             "--no-thumbnail-every",
                                             "0",
                                             "--prn-every",
                                             "2",
                                             "--slides",
                                             "3",
                                             "--seed",
                                             "42",
                                             "--printing",
                                             "jpg",
                                             "--kiosk-name",
                                             "Window",
                                             "--threads",
                                             "1",
                                             "--settings-only"});
    ASSERT_EQ(DemoKioskCommandLine::Outcome::Run, line.outcome()) << qPrintable(line.error());
    const DemoKioskOptions& options = line.options();
    EXPECT_EQ(QSize(1280, 720), options.screenSize);
    EXPECT_EQ(9, options.categoryCount);
    EXPECT_EQ(5000, options.minPicturesPerCategory);
    EXPECT_EQ(5000, options.maxPicturesPerCategory);
    EXPECT_EQ(QSize(64, 48), options.pictureSize);
    EXPECT_EQ(QSize(32, 24), options.thumbnailSize);
    EXPECT_EQ(0, options.noThumbnailEvery);
    EXPECT_EQ(2, options.prnEvery);
    EXPECT_EQ(3, options.slideCount);
    EXPECT_EQ(42u, options.seed);
    EXPECT_EQ(PrintingChoice::Jpg, options.printing);
    EXPECT_EQ("Window", options.kioskName);
    EXPECT_EQ(1, options.threads);
    EXPECT_TRUE(options.settingsOnly);

    const DemoKioskCommandLine range =
        parse({"--output", "out", "--pictures-per-category", "3-12", "--printing", "false"});
    ASSERT_EQ(DemoKioskCommandLine::Outcome::Run, range.outcome());
    EXPECT_EQ(3, range.options().minPicturesPerCategory);
    EXPECT_EQ(12, range.options().maxPicturesPerCategory);
    EXPECT_EQ(PrintingChoice::Off, range.options().printing);
}

TEST(DemoKioskCommandLine, RefusesBadValuesWithAReadableError)
{
    const QList<QStringList> wrong{{},
                                   {"--output", "out", "--categories", "0"},
                                   {"--output", "out", "--categories", "10"},
                                   {"--output", "out", "--pictures-per-category", "40-15"},
                                   {"--output", "out", "--pictures-per-category", "a-b"},
                                   {"--output", "out", "--picture-size", "1200"},
                                   {"--output", "out", "--thumbnail-size", "0x10"},
                                   {"--output", "out", "--printing", "yes"},
                                   {"--output", "out", "--seed", "-1x"},
                                   {"--output", "out", "--kiosk-name", "a/b"},
                                   {"--output", "out", "--unknown"},
                                   {"--output", "out", "stray"}};
    for (const QStringList& arguments : wrong) {
        const DemoKioskCommandLine line = parse(arguments);
        EXPECT_EQ(DemoKioskCommandLine::Outcome::Error, line.outcome()) << qPrintable(arguments.join(' '));
        EXPECT_FALSE(line.error().isEmpty()) << qPrintable(arguments.join(' '));
    }
}

TEST(DemoKioskCommandLine, HelpListsTheOptions)
{
    const DemoKioskCommandLine line = parse({"--help"});
    EXPECT_EQ(DemoKioskCommandLine::Outcome::Help, line.outcome());
    for (const char* option : {"--output", "--width", "--height", "--categories", "--pictures-per-category",
                               "--picture-size", "--thumbnail-size", "--no-thumbnail-every", "--prn-every",
                               "--slides", "--seed", "--printing", "--settings-only"})
        EXPECT_TRUE(line.helpText().contains(option)) << option;
}
