#include "system/support/KioskSession.h"

#include <QFile>
#include <QRegularExpression>

using namespace quindle::systemtest;

namespace {

const QString noHitText = QStringLiteral("X9X");

class VisitorJourney : public KioskSession
{
protected:
    // Types on the on-screen keyboard; a space goes through the space button.
    void type(const QString& text)
    {
        for (const QChar character : text) {
            tap(character == QLatin1Char(' ') ? kiosk->keyboardButton(2).center()
                                              : kiosk->keyCentre(character));
            ASSERT_TRUE(process->settle());
        }
    }

    // A word that names a few pictures, in more than one category when there is one.
    QString searchWord()
    {
        const QStringList names = kiosk->pictures(2);
        for (const QString& picture : names) {
            const QString word = SystemKiosk::fileNameOf(picture).section(QLatin1Char(' '), -1).chopped(4);
            const qsizetype hits = kiosk->searchHits(word).size();
            if (word.size() >= 3 && hits > 1 && hits <= kiosk->slotsPerPage())
                return word.toUpper();
        }
        return SystemKiosk::fileNameOf(names.first()).chopped(4).toUpper();
    }
};

} // namespace

TEST_F(VisitorJourney, BrowseOpenStepClose_lookupWithAndWithoutHit_logsEveryAction)
{
    const QByteArray hangMarker("hung at 03:12\n");
    folder.write(QStringLiteral("program/hang.txt"), hangMarker);
    startKiosk();
    const QStringList rings = kiosk->pictures(0);
    const QStringList second = kiosk->pictures(1);
    ASSERT_GT(second.size(), kiosk->slotsPerPage()) << "the category must fill more than one page";
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("program/hang.txt"))));
    EXPECT_EQ(hangMarker, folder.read(QStringLiteral("program/hanggg.txt")));
    ASSERT_TRUE(waitFor([&] { return screen->showsPage(rings, 0); })) << "first category shown";

    tap(kiosk->menuButton(2));
    ASSERT_TRUE(waitFor([&] { return screen->showsPage(second, 0); }));

    const int last = kiosk->slotsPerPage();
    tap(kiosk->slot(last));
    ASSERT_TRUE(waitFor([&] { return screen->detailOpen() && screen->showsDetail(second.at(last - 1)); }));

    tap(kiosk->nextButton());
    ASSERT_TRUE(waitFor([&] { return screen->showsDetail(second.at(last)); }))
        << "next steps across the page boundary";

    tap(kiosk->closeButton());
    ASSERT_TRUE(waitFor([&] { return screen->detailClosed() && screen->showsPage(second, last); }))
        << "closing shows the page of the picture last seen";

    tap(kiosk->slot(2));
    ASSERT_TRUE(waitFor([&] { return screen->showsDetail(second.at(last + 1)); }));
    tap(kiosk->menuButton(1));
    ASSERT_TRUE(waitFor([&] { return screen->detailClosed() && screen->showsPage(rings, 0); }))
        << "a menu press inside the detail view closes it and opens the category";

    const QString word = searchWord();
    const QStringList hits = kiosk->searchHits(word);
    tap(kiosk->lookupButton());
    ASSERT_TRUE(waitFor([&] { return screen->keyboardShown(); }));
    type(word);
    tap(kiosk->keyboardButton(3));
    ASSERT_TRUE(waitFor([&] { return !screen->keyboardShown() && screen->showsPage(hits, 0); }))
        << "the hits for " << word.toStdString() << ": " << testing::PrintToString(hits);

    tap(kiosk->lookupButton());
    ASSERT_TRUE(waitFor([&] { return screen->keyboardShown(); }));
    type(noHitText);
    tap(kiosk->keyboardButton(3));
    ASSERT_TRUE(waitFor([&] { return screen->noResultsShown(); }));
    ASSERT_TRUE(waitFor([&] { return screen->keyboardShown(); })) << "the keys come back";
    tap(kiosk->keyboardButton(0));
    ASSERT_TRUE(waitFor([&] { return !screen->keyboardShown() && screen->showsPage(hits, 0); }))
        << "cancel leaves the hits shown";

    ASSERT_EQ(0, endKiosk());
    const QStringList expected =
        QStringLiteral(
            "Program Started|Menu Button 2 Pressed|Detail: %1|Next Button Pressed|Detail: %2|"
            "Close Button Pressed|Detail: %3|Menu Button 1 Pressed|Lookup Button Pressed|Search: %4|"
            "Lookup Button Pressed|Search: %5|Lookup Canceled")
            .arg(SystemKiosk::fileNameOf(second.at(last - 1)), SystemKiosk::fileNameOf(second.at(last)),
                 SystemKiosk::fileNameOf(second.at(last + 1)), word, noHitText)
            .split('|');
    const QList<QStringList> records = kiosk->logRecords();
    EXPECT_EQ(expected, kiosk->logEvents());
    const QRegularExpression stamp(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d$"));
    for (const QStringList& record : records) {
        EXPECT_EQ(2, record.size()) << testing::PrintToString(record);
        EXPECT_TRUE(stamp.match(record.value(1)).hasMatch()) << testing::PrintToString(record);
    }
    for (const QString& name : QDir(kiosk->programFolder() + "/log files").entryList({"*.csv"}))
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{8}\\.csv$")).match(name).hasMatch())
            << name.toStdString();
    EXPECT_FALSE(process->standardError().contains(QStringLiteral("Quindle:"))) << "no message was shown";
}
