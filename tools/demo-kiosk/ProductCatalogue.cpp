#include "tools/demo-kiosk/ProductCatalogue.h"

#include "tools/demo-kiosk/DemoRandom.h"

#include <QLocale>

namespace quindle::demo {

namespace {

const QStringList& givenNames()
{
    static const QStringList names{"Aurora",  "Celeste", "Marlow", "Seraphine", "Juniper", "Isolde",
                                   "Wren",    "Amara",   "Solene", "Linnea",    "Ophelia", "Vesper",
                                   "Calla",   "Mirabel", "Elowen", "Rosalind",  "Sable",   "Thea",
                                   "Halcyon", "Lumen",   "Odette", "Portia",    "Briar",   "Clementine",
                                   "Dahlia",  "Estelle", "Fleur",  "Genevieve", "Harlow",  "Iris",
                                   "Lark",    "Maren",   "Noor",   "Perrin",    "Quinta",  "Rhea"};
    return names;
}

QList<DemoCategory> allCategories()
{
    return {
        {"Rings",
         "RI",
         "Fine_Rings",
         ProductKind::Ring,
         {"Ring", "Solitaire", "Halo Ring", "Eternity Ring", "Band"},
         240,
         6800},
        {"Necklaces",
         "NE",
         "Necklaces",
         ProductKind::Necklace,
         {"Pendant", "Necklace", "Pearl Strand", "Locket", "Lariat"},
         180,
         5200},
        {"Watches",
         "WA",
         "Watches",
         ProductKind::Watch,
         {"Automatic", "Chronograph", "Dress Watch", "Diver", "Moonphase"},
         390,
         9800},
        {"Bracelets",
         "BC",
         "Bracelets_Bangles",
         ProductKind::Bracelet,
         {"Bangle", "Cuff", "Tennis Bracelet", "Link Bracelet"},
         160,
         4600},
        {"Earrings",
         "EA",
         "Earrings",
         ProductKind::Earrings,
         {"Studs", "Drops", "Hoops", "Huggies"},
         120,
         3900},
        {"Brooches", "BO", "Brooches", ProductKind::Brooch, {"Brooch", "Pin", "Cluster Brooch"}, 150, 2800},
        {"Cufflinks", "CU", "Cufflinks", ProductKind::Cufflinks, {"Cufflinks", "Studs Set"}, 110, 1400},
        {"Pendants",
         "PE",
         "Pendants",
         ProductKind::Necklace,
         {"Pendant", "Drop Pendant", "Medallion"},
         140,
         3600},
        {"Bridal",
         "BD",
         "Bridal_Collection",
         ProductKind::Ring,
         {"Engagement Ring", "Wedding Band", "Trilogy Ring"},
         450,
         12500},
    };
}

} // namespace

ProductCatalogue::ProductCatalogue(const DemoKioskOptions& options) : m_seed(options.seed)
{
    m_categories = allCategories().mid(0, qBound(1, options.categoryCount, 9));
    // The last menu button uses the short statement form, which carries no caption.
    m_categories.last().caption.clear();
    for (int c = 0; c < m_categories.size(); ++c) {
        DemoRandom random(DemoRandom::mix(m_seed, 1000 + c));
        m_pictureCounts.append(
            random.between(options.minPicturesPerCategory, options.maxPicturesPerCategory));
        const int combinations = static_cast<int>(givenNames().size() * m_categories[c].styles.size());
        QList<int> order;
        for (int i = 0; i < combinations; ++i)
            order.append(i);
        for (int i = combinations - 1; i > 0; --i)
            order.swapItemsAt(i, random.between(0, i));
        m_nameOrders.append(order);
    }
}

DemoProduct ProductCatalogue::product(int category, int number) const
{
    const DemoCategory& info = m_categories.at(category);
    const QList<int>& order = m_nameOrders.at(category);
    const int combination = order.at((number - 1) % order.size());
    const int round = (number - 1) / static_cast<int>(order.size());
    const QString style = info.styles.at(combination % info.styles.size());
    DemoProduct product;
    product.name = givenNames().at(combination / info.styles.size()) + ' ' + style;
    if (round > 0)
        product.name += ' ' + QString::number(round + 1).rightJustified(2, '0');

    DemoRandom random(DemoRandom::mix(m_seed, category + 1, number));
    product.kind = info.kind;
    product.style = style;
    product.seed = random.next();
    product.metal = random.between(0, 3);
    product.tone = random.between(0, 3);
    const bool pearls =
        style.contains("Pearl") || (info.kind == ProductKind::Earrings && random.between(0, 4) == 0);
    product.gem = pearls ? 6 : random.between(0, 5);
    if (info.kind == ProductKind::Watch) {
        product.material = QString("%1 mm, %2")
                               .arg(random.between(34, 44))
                               .arg(product.metal == 3 ? "steel" : metalName(product.metal));
        product.stone.clear();
    } else {
        product.material = metalName(product.metal);
        // Plain bands are drawn without a stone, so their label names none.
        const bool plain = style.contains("Band");
        product.stone = plain ? QString() : stoneName(product.gem);
    }
    const int pounds = random.between(info.lowestPrice / 5, info.highestPrice / 5) * 5 - 5;
    product.price = QString::fromUtf8("\u00A3") +
                    QLocale(QLocale::English, QLocale::UnitedKingdom).toString(qMax(pounds, 45));
    product.reference = QString("HR-%1-%2").arg(info.code).arg(number, 4, 10, QChar('0'));
    return product;
}

QString ProductCatalogue::metalName(int metal)
{
    static const QStringList names{"18ct yellow gold", "18ct rose gold", "18ct white gold",
                                   "Sterling silver"};
    return names.value(metal);
}

QString ProductCatalogue::stoneName(int gem)
{
    static const QStringList names{"Diamond",  "Sapphire",   "Ruby", "Emerald",
                                   "Amethyst", "Blue topaz", "Pearl"};
    return names.value(gem);
}

} // namespace quindle::demo
