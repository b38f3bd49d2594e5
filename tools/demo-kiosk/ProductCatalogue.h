#pragma once

#include "tools/demo-kiosk/DemoKioskOptions.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quindle::demo {

enum class ProductKind { Ring, Necklace, Watch, Bracelet, Earrings, Brooch, Cufflinks };

struct DemoCategory
{
    QString folder;
    QString code;    // two letters of the products' references
    QString caption; // "_" marks a line break on the menu button; empty for the short statement
    ProductKind kind = ProductKind::Ring;
    QStringList styles;
    int lowestPrice = 100;
    int highestPrice = 1000;
};

// One product of the demo shop: what its picture shows and what its print file says.
struct DemoProduct
{
    QString name;      // also the picture's file name without ".jpg"; never holds "_"
    QString style;     // "Solitaire", "Hoops", "Chronograph": what exactly is drawn
    QString material;  // "18ct yellow gold", "Steel"
    QString stone;     // "Sapphire", or empty
    QString price;     // "£1,245"
    QString reference; // "HR-RI-0012"
    ProductKind kind = ProductKind::Ring;
    int metal = 0;    // 0 yellow gold, 1 rose gold, 2 white gold, 3 silver
    int gem = 0;      // 0 diamond, 1 sapphire, 2 ruby, 3 emerald, 4 amethyst, 5 topaz, 6 pearl
    int tone = 0;     // background tone of the photograph
    quint64 seed = 0; // everything else about the drawing
};

// The shop's categories and products, fixed for a seed. Names are unique within a category
// and use only letters, digits and spaces, so every one can be typed on the kiosk's keyboard.
class ProductCatalogue
{
public:
    explicit ProductCatalogue(const DemoKioskOptions& options);

    const QList<DemoCategory>& categories() const { return m_categories; }
    int pictureCount(int category) const { return m_pictureCounts.value(category); }
    // number counts from 1 within the category.
    DemoProduct product(int category, int number) const;

    static QString metalName(int metal);
    static QString stoneName(int gem);

private:
    QList<DemoCategory> m_categories;
    QList<int> m_pictureCounts;
    QList<QList<int>> m_nameOrders;
    quint64 m_seed = 0;
};

} // namespace quindle::demo
