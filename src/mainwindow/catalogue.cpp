#include "catalogue.h"

#include "artwork.h"
#include "bmpcodec.h"
#include "raster.h"

namespace palette {

namespace {

using board::Mode;

// One row of the catalogue as written in the tables below; turned into
// StampEntry once.
struct Row {
    const char *component;
    const char *group;
    int left, top, width, height;
    bool scaled;
    const char *hint;
    const char *name;
    const char *resource;
    Mode mode;
    int stampWidth, stampHeight;
    const char *thumbnail = nullptr; // where the palette shows a picture of its own
};

// The eight monsters of the tool bar: no box, no group.
// (One row a line, as in a table.)
// clang-format off
const Row kMonsterRows[] = {
    {"ToolButton1", "", 0, 0, 0, 0, false, "Goblin", "Goblin", "GOBLIN", Mode::Interior, 30, 30},
    {"ToolButton2", "", 0, 0, 0, 0, false, "Ork", "Ork", "ORK", Mode::Interior, 30, 30},
    {"ToolButton3", "", 0, 0, 0, 0, false, "Sumpfling", "Sumpfling", "SUMPFLING", Mode::Interior, 30, 30},
    {"ToolButton4", "", 0, 0, 0, 0, false, "Skelett", "Skelett", "SKELETT", Mode::Interior, 30, 30},
    {"ToolButton5", "", 0, 0, 0, 0, false, "Zombie", "Zombie", "ZOMBIE", Mode::Interior, 30, 30},
    {"ToolButton6", "", 0, 0, 0, 0, false, "Mumie", "Mumie", "MUMIE", Mode::Interior, 30, 30},
    {"ToolButton7", "", 0, 0, 0, 0, false, "Chaos-Krieger", "Chaos-Krieger", "CHAOSKRIEGER", Mode::Interior, 30, 30},
    {"ToolButton8", "", 0, 0, 0, 0, false, "Gargoyle", "Gargoyle", "GARGOYLE", Mode::Interior, 30, 30},
};

// The thumbnails of the palette pages, in the order in which they stand in
// their groups (top to bottom, then left to right). Each row names its piece
// in German after the hint; assistive technology reads that name. The number markers are
// placed so that they read 2/12, 3, 4, ... 11: the picture Z11 shows 4 and Z4
// shows 11.
const Row kPageRows[] = {
    {"Image19", "Türen und Geheimtüren", 22, 16, 18, 38, false, "", "Tür in senkrechter Wand", "TUER1", Mode::LeftLine, 18, 30, "THUMB_TUER1"},
    {"Image20", "Türen und Geheimtüren", 96, 16, 30, 30, false, "", "Geheimtür oben", "GTO", Mode::Interior, 30, 30},
    {"Image21", "Türen und Geheimtüren", 152, 16, 30, 30, false, "", "Geheimtür rechts", "GTR", Mode::Interior, 30, 30},
    {"Image22", "Türen und Geheimtüren", 96, 56, 30, 30, false, "", "Geheimtür unten", "GTU", Mode::Interior, 30, 30},
    {"Image23", "Türen und Geheimtüren", 152, 56, 30, 30, false, "", "Geheimtür links", "GTL", Mode::Interior, 30, 30},
    {"Image18", "Türen und Geheimtüren", 13, 64, 38, 18, false, "", "Tür in waagerechter Wand", "TUER2", Mode::TopLine, 30, 18, "THUMB_TUER2"},
    {"Image12", "Fallen und Blockierungen", 8, 24, 30, 30, false, "Fallgrube", "Fallgrube", "FALLGRUBE", Mode::Interior, 30, 30},
    {"Image15", "Fallen und Blockierungen", 51, 24, 30, 30, false, "Speerfalle", "Speerfalle", "SPEER", Mode::Interior, 30, 30},
    {"Image16", "Fallen und Blockierungen", 104, 24, 30, 30, false, "Schlagfalle", "Schlagfalle", "SCHLAGFALLE", Mode::Interior, 30, 30},
    {"Image17", "Fallen und Blockierungen", 131, 24, 30, 30, false, "", "Pfeil nach unten", "PFEIL", Mode::Interior, 30, 30},
    {"Image28", "Fallen und Blockierungen", 168, 28, 30, 62, false, "", "Blockierte Felder, 1 breit, 2 hoch", "BLOCK22", Mode::Interior, 30, 62},
    {"Image27", "Fallen und Blockierungen", 16, 64, 62, 30, false, "", "Blockierte Felder, 2 breit, 1 hoch", "BLOCK21", Mode::Interior, 62, 30},
    {"Image26", "Fallen und Blockierungen", 112, 64, 30, 30, false, "", "Blockiertes Feld", "BLOCK", Mode::Interior, 30, 30},
    {"Image24", "Treppenstufen", 8, 24, 41, 41, true, "", "Treppe", "STAIR1", Mode::Interior, 62, 62},
    {"Image29", "Treppenstufen", 56, 24, 41, 41, true, "", "Treppe, um 90° gedreht", "STAIR2", Mode::Interior, 62, 62},
    {"Image31", "Treppenstufen", 104, 24, 41, 41, true, "", "Treppe, um 270° gedreht", "STAIR4", Mode::Interior, 62, 62},
    {"Image30", "Treppenstufen", 152, 24, 41, 41, true, "", "Treppe, um 180° gedreht", "STAIR3", Mode::Interior, 62, 62},
    {"Image32", "Anmerkungen", 8, 24, 30, 30, false, "", "Anmerkung A", "AB", Mode::Interior, 30, 30},
    {"Image33", "Anmerkungen", 48, 24, 30, 30, false, "", "Anmerkung B", "BB", Mode::Interior, 30, 30},
    {"Image34", "Anmerkungen", 88, 24, 30, 30, false, "", "Anmerkung C", "CB", Mode::Interior, 30, 30},
    {"Image35", "Anmerkungen", 128, 24, 30, 30, false, "", "Anmerkung D", "DB", Mode::Interior, 30, 30},
    {"Image36", "Anmerkungen", 168, 24, 30, 30, false, "", "Markierung X", "XB", Mode::Interior, 30, 30},
    {"Image76", "Anmerkungen", 8, 64, 30, 30, false, "", "Nummer 2/12", "Z2", Mode::Interior, 30, 30},
    {"Image77", "Anmerkungen", 48, 64, 30, 30, false, "", "Nummer 3", "Z3", Mode::Interior, 30, 30},
    {"Image78", "Anmerkungen", 88, 64, 30, 30, false, "", "Nummer 4", "Z11", Mode::Interior, 30, 30},
    {"Image79", "Anmerkungen", 128, 64, 30, 30, false, "", "Nummer 5", "Z5", Mode::Interior, 30, 30},
    {"Image81", "Anmerkungen", 168, 64, 30, 30, false, "", "Nummer 6", "Z6", Mode::Interior, 30, 30},
    {"Image80", "Anmerkungen", 8, 104, 30, 30, false, "", "Nummer 7", "Z7", Mode::Interior, 30, 30},
    {"Image83", "Anmerkungen", 48, 104, 30, 30, false, "", "Nummer 8", "Z8", Mode::Interior, 30, 30},
    {"Image82", "Anmerkungen", 88, 104, 30, 30, false, "", "Nummer 9", "Z9", Mode::Interior, 30, 30},
    {"Image84", "Anmerkungen", 128, 104, 30, 30, false, "", "Nummer 10", "Z10", Mode::Interior, 30, 30},
    {"Image85", "Anmerkungen", 168, 104, 30, 30, false, "", "Nummer 11", "Z4", Mode::Interior, 30, 30},
    {"Image58", "Eingänge/Ausgänge", 120, 22, 30, 35, false, "", "Eingang von oben", "ENTERO", Mode::OutUp, 30, 35},
    {"Image59", "Eingänge/Ausgänge", 168, 22, 30, 35, false, "", "Eingang von unten", "ENTERU", Mode::TopLine, 30, 35},
    {"Image10", "Eingänge/Ausgänge", 16, 24, 35, 30, false, "", "Eingang von links", "ENTERL", Mode::OutLeft, 35, 30},
    {"Image57", "Eingänge/Ausgänge", 72, 24, 35, 30, false, "", "Eingang von rechts", "ENTERR", Mode::LeftLine, 35, 30},
    {"Image62", "Eingänge/Ausgänge", 120, 62, 30, 35, false, "", "Ausgang nach oben", "EXITO", Mode::OutUp, 30, 35},
    {"Image63", "Eingänge/Ausgänge", 168, 62, 30, 35, false, "", "Ausgang nach unten", "EXITU", Mode::TopLine, 30, 35},
    {"Image60", "Eingänge/Ausgänge", 16, 64, 35, 30, false, "", "Ausgang nach links", "EXITL", Mode::OutLeft, 35, 30},
    {"Image61", "Eingänge/Ausgänge", 72, 64, 35, 30, false, "", "Ausgang nach rechts", "EXITR", Mode::LeftLine, 35, 30},
    {"Image72", "Tiefenhall", 24, 16, 30, 94, false, "", "Schmiede, senkrecht", "SCHMIEDE2", Mode::Interior, 30, 94},
    {"Image73", "Tiefenhall", 56, 16, 94, 30, false, "", "Schmiede, waagerecht", "SCHMIEDE1", Mode::Interior, 94, 30},
    {"Image66", "Tiefenhall", 168, 16, 30, 30, false, "", "Bodenklappe, Ring unten", "KLAPPEU", Mode::Interior, 30, 30},
    {"Image64", "Tiefenhall", 72, 64, 30, 30, false, "", "Bodenklappe, Ring oben", "KLAPPEO", Mode::Interior, 30, 30},
    {"Image65", "Tiefenhall", 120, 64, 30, 30, false, "", "Bodenklappe, Ring rechts", "KLAPPER", Mode::Interior, 30, 30},
    {"Image67", "Tiefenhall", 168, 64, 30, 30, false, "", "Bodenklappe, Ring links", "KLAPPEL", Mode::Interior, 30, 30},
    {"Image68", "Schattenfuerst", 16, 24, 30, 62, false, "", "Grabplatte", "RIP1", Mode::Interior, 30, 62},
    {"Image69", "Schattenfuerst", 56, 24, 30, 62, false, "", "Grabplatte, um 180° gedreht", "RIP3", Mode::Interior, 30, 62},
    {"Image70", "Schattenfuerst", 96, 24, 62, 30, false, "", "Grabplatte, um 90° gedreht", "RIP2", Mode::Interior, 62, 30},
    {"Image74", "Schattenfuerst", 174, 24, 18, 30, false, "", "Durchgestrichene Tür in senkrechter Wand", "DOORO1", Mode::LeftLine, 18, 30},
    {"Image71", "Schattenfuerst", 96, 64, 62, 30, false, "", "Grabplatte, um 270° gedreht", "RIP4", Mode::Interior, 62, 30},
    {"Image75", "Schattenfuerst", 165, 72, 30, 18, false, "", "Durchgestrichene Tür in waagerechter Wand", "DOORO2", Mode::TopLine, 30, 18},
    {"Image86", "Schattenfuerst", 24, 96, 30, 30, false, "", "Pfeil nach oben", "PO", Mode::Interior, 30, 30},
    {"Image88", "Schattenfuerst", 64, 104, 30, 30, false, "", "Pfeil nach unten", "PU", Mode::Interior, 30, 30},
    {"Image87", "Schattenfuerst", 144, 104, 30, 30, false, "", "Pfeil nach rechts", "PR", Mode::Interior, 30, 30},
    {"Image89", "Schattenfuerst", 104, 106, 30, 30, false, "", "Pfeil nach links", "PL", Mode::Interior, 30, 30},
    {"Image44", "Nebelturm", 16, 27, 30, 30, false, "Feuerbrunst-Falle", "Feuerbrunst-Falle", "BRUNST", Mode::Interior, 30, 30},
    {"Image45", "Nebelturm", 72, 27, 30, 30, false, "Orkan-Falle", "Orkan-Falle", "LUFT", Mode::Interior, 30, 30},
    {"Image46", "Nebelturm", 120, 27, 30, 30, false, "Teleporter-Falle", "Teleporter-Falle A", "TA", Mode::Interior, 30, 30},
    {"Image47", "Nebelturm", 168, 27, 30, 30, false, "Teleporter-Falle", "Teleporter-Falle B", "TB", Mode::Interior, 30, 30},
    {"Image39", "Sturmgrenze", 24, 24, 30, 30, false, "Fallbeil", "Fallbeil, waagerecht", "FALLBH", Mode::Interior, 30, 30},
    {"Image40", "Sturmgrenze", 64, 24, 30, 30, false, "Fallbeil", "Fallbeil, senkrecht", "FALLBV", Mode::Interior, 30, 30},
    {"Image41", "Sturmgrenze", 120, 24, 30, 30, false, "", "Fallbeil, waagerecht, nur Umriss", "FALLBH2", Mode::Interior, 30, 30},
    {"Image42", "Sturmgrenze", 168, 24, 30, 30, false, "", "Fallbeil, senkrecht, nur Umriss", "FALLBV2", Mode::Interior, 30, 30},
    {"Image38", "Sturmgrenze", 176, 68, 18, 38, true, "", "Steinblock in senkrechter Wand", "STEIN1", Mode::LeftLine, 18, 30},
    {"Image43", "Sturmgrenze", 40, 72, 30, 30, false, "Gruft der Finsternis", "Gruft der Finsternis", "GRUFT", Mode::Interior, 30, 30},
    {"Image37", "Sturmgrenze", 116, 78, 38, 18, true, "", "Steinblock in waagerechter Wand", "STEIN2", Mode::TopLine, 30, 18},
    {"Image25", "Sturmgrenze", 16, 136, 89, 65, true, "", "Bodenplatte mit Krater", "CHAOS", Mode::Interior, 254, 222},
    {"Image48", "Sturmgrenze", 112, 136, 89, 65, true, "", "Außengelände", "OUTLAND", Mode::Interior, 254, 158, "THUMB_OUTLAND"},
    {"Image49", "Sturmgrenze", 16, 232, 57, 73, true, "", "Schlucht mit Brücke", "SCHLUCHT", Mode::Interior, 126, 158},
    {"Image51", "Sturmgrenze", 88, 244, 49, 53, true, "", "Teppich", "TEPPICH", Mode::Interior, 126, 126},
    {"Image52", "Sturmgrenze", 152, 244, 49, 53, true, "", "Bodenemblem", "DEKO2", Mode::Interior, 126, 126},
    {"Image53", "Sturmgrenze", 96, 328, 30, 30, false, "Ogre Krieger", "Ogre Krieger", "OGRE", Mode::Interior, 30, 30},
    {"Image54", "Sturmgrenze", 160, 328, 30, 30, false, "Ogre Offizier", "Ogre Offizier", "OFF", Mode::Interior, 30, 30},
    {"Image50", "Sturmgrenze", 16, 336, 57, 73, true, "", "Verzierter Boden", "DEKO1", Mode::Interior, 126, 158},
    {"Image55", "Sturmgrenze", 96, 376, 30, 30, false, "Ogre Oberbefehlshaber", "Ogre Oberbefehlshaber", "OB", Mode::Interior, 30, 30},
    {"Image56", "Sturmgrenze", 160, 376, 30, 30, false, "Ogre Herrscher", "Ogre Herrscher", "HE", Mode::Interior, 30, 30},
};

struct ToolButtonRow {
    const char *component;
    ToolButton::Kind kind;
    int glyph;
    const char *hint; // a monster's is its entry's
    Mode mode;
    bool markerFirst;
};

// The tool bar, left to right: the eight monsters of kMonsterRows, a
// separator, the correction tool and the fill tool. The fill tool shows its
// status text before it switches the mode.
const ToolButtonRow kToolButtonRows[] = {
    {"ToolButton1", ToolButton::Kind::Stamp, 0, nullptr, Mode::Interior, false},
    {"ToolButton2", ToolButton::Kind::Stamp, 1, nullptr, Mode::Interior, false},
    {"ToolButton3", ToolButton::Kind::Stamp, 2, nullptr, Mode::Interior, false},
    {"ToolButton4", ToolButton::Kind::Stamp, 3, nullptr, Mode::Interior, false},
    {"ToolButton5", ToolButton::Kind::Stamp, 4, nullptr, Mode::Interior, false},
    {"ToolButton6", ToolButton::Kind::Stamp, 5, nullptr, Mode::Interior, false},
    {"ToolButton7", ToolButton::Kind::Stamp, 6, nullptr, Mode::Interior, false},
    {"ToolButton8", ToolButton::Kind::Stamp, 7, nullptr, Mode::Interior, false},
    {"ToolButton9", ToolButton::Kind::Separator, -1, nullptr, Mode::Interior, false},
    {"ToolButton10", ToolButton::Kind::Tool, 8, "Korrektur-Modus", Mode::Restore, false},
    {"ToolButton11", ToolButton::Kind::Tool, 9, "Füllmodus", Mode::Fill, true},
};
// clang-format on

struct FurnitureRow {
    const char *component;
    const char *hint;
    const char *base;
    int left, top, width, height;
    bool scaled;
};

// Index is the furniture kind.
const FurnitureRow kFurnitureRows[] = {
    {"Image1", "Altar", "ALTAR", 16, 16, 80, 50, true},
    {"Image3", "Alchemisten-Tisch", "ALCHEMIE", 120, 16, 80, 50, true},
    {"Image2", "Folterbank", "FOLTERBANK", 16, 72, 80, 50, true},
    {"Image4", "Tisch", "TISCH", 120, 72, 80, 50, true},
    {"Image5", "Bücherregal", "REGAL", 16, 192, 80, 25, true},
    {"Image6", "Geschirrschrank", "SCHRANK", 120, 192, 80, 25, true},
    {"Image7", "Kamin", "KAMIN", 16, 232, 80, 25, true},
    {"Image8", "Waffenschrank", "WAFFEN", 120, 232, 80, 25, true},
    {"Image11", "Sarkophag", "SARG", 16, 128, 80, 50, true},
    {"Image14", "Truhe", "TRUHE", 168, 136, 30, 30, false},
    {"Image13", "Thron", "THRON", 120, 136, 30, 30, false},
};

struct GroupRow {
    const char *title;
    int page;
    int height;
    bool white;
};

const GroupRow kGroupRows[] = {
    {"Auswahl", 1, 273, true},
    {"Drehen", 1, 165, false},
    {"Türen und Geheimtüren", 2, 97, true},
    {"Fallen und Blockierungen", 2, 104, true},
    {"Treppenstufen", 2, 88, true},
    {"Anmerkungen", 2, 149, true},
    {"Eingänge/Ausgänge", 3, 105, true},
    {"Tiefenhall", 3, 112, true},
    {"Schattenfuerst", 3, 144, true},
    {"Nebelturm", 3, 77, true},
    {"Sturmgrenze", 4, 438, true},
};

StampEntry toEntry(const Row &row)
{
    const QString group = QString::fromUtf8(row.group);
    int page = 0;
    for (const GroupRow &g : kGroupRows) {
        if (group == QString::fromUtf8(g.title))
            page = g.page;
    }
    return StampEntry{QString::fromLatin1(row.component),
                      group,
                      page,
                      QRect(row.left, row.top, row.width, row.height),
                      row.scaled,
                      QString::fromUtf8(row.hint),
                      QString::fromLatin1(row.resource),
                      row.mode,
                      QSize(row.stampWidth, row.stampHeight),
                      QString::fromUtf8(row.name),
                      QString::fromLatin1(row.thumbnail ? row.thumbnail : row.resource)};
}

} // namespace

QString viewGroupTitle()
{
    return QStringLiteral("Drehen");
}
QString choiceGroupTitle()
{
    return QStringLiteral("Auswahl");
}

const std::vector<Group> &groups()
{
    static const std::vector<Group> all = [] {
        std::vector<Group> v;
        for (const GroupRow &g : kGroupRows)
            v.push_back(Group{QString::fromUtf8(g.title), g.page, g.height, g.white});
        return v;
    }();
    return all;
}

const std::vector<StampEntry> &stampEntries()
{
    static const std::vector<StampEntry> all = [] {
        std::vector<StampEntry> v;
        for (const Row &row : kMonsterRows)
            v.push_back(toEntry(row));
        for (const Row &row : kPageRows)
            v.push_back(toEntry(row));
        return v;
    }();
    return all;
}

const std::vector<ToolButton> &toolBar()
{
    static const std::vector<ToolButton> all = [] {
        std::vector<ToolButton> v;
        for (const ToolButtonRow &row : kToolButtonRows) {
            ToolButton button{QString::fromLatin1(row.component), row.kind, row.glyph,
                              QString::fromUtf8(row.hint)};
            if (row.kind == ToolButton::Kind::Stamp) {
                button.stamp = findStampEntry(button.component);
                button.hint = button.stamp->hint;
            }
            button.mode = row.mode;
            button.markerFirst = row.markerFirst;
            v.push_back(button);
        }
        return v;
    }();
    return all;
}

QStringList monsterNames()
{
    QStringList names;
    for (const ToolButton &button : toolBar()) {
        if (button.stamp)
            names << button.stamp->name;
    }
    return names;
}

const std::vector<FurnitureKind> &furnitureKinds()
{
    static const std::vector<FurnitureKind> all = [] {
        std::vector<FurnitureKind> v;
        quint8 kind = 0;
        for (const FurnitureRow &r : kFurnitureRows) {
            v.push_back(FurnitureKind{QString::fromLatin1(r.component), kind++,
                                      QString::fromUtf8(r.hint), QString::fromLatin1(r.base),
                                      QRect(r.left, r.top, r.width, r.height), r.scaled});
        }
        return v;
    }();
    return all;
}

const StampEntry *findStampEntry(const QString &component)
{
    for (const StampEntry &e : stampEntries()) {
        if (e.component == component)
            return &e;
    }
    return nullptr;
}

const FurnitureKind *findFurniture(const QString &component)
{
    for (const FurnitureKind &f : furnitureKinds()) {
        if (f.component == component)
            return &f;
    }
    return nullptr;
}

const ToolButton *findToolButton(const QString &component)
{
    for (const ToolButton &b : toolBar()) {
        if (b.component == component)
            return &b;
    }
    return nullptr;
}

QString entryLabel(const StampEntry &entry)
{
    return entry.hint.isEmpty() ? entry.name : entry.hint;
}

QString viewResource(quint8 kind, quint8 view)
{
    const auto &kinds = furnitureKinds();
    if (kind >= kinds.size() || view < 1 || view > 4)
        return QString();
    return kinds[kind].base + QString::number(view);
}

void applyStampEntry(ToolState &tool, const StampEntry &entry)
{
    // Only the picture is replaced: pure blue stays the transparent colour of
    // whatever the stamp holds.
    tool.stamp = artwork::bitmap(entry.resource);
    tool.mode = entry.mode;
    tool.setStatusText(QString());
}

QString chooseFurniture(ToolState &tool, quint8 kind)
{
    const QString name = viewResource(kind, 1);
    if (name.isEmpty())
        return viewResource(tool.furnitureKind, tool.orientation);
    tool.furnitureKind = kind;
    tool.orientation = 1;
    return name;
}

QString chooseView(ToolState &tool, quint8 view)
{
    if (view < 1 || view > 4)
        return viewResource(tool.furnitureKind, tool.orientation);
    tool.orientation = view;
    return viewResource(tool.furnitureKind, view);
}

void takeFurniture(ToolState &tool)
{
    // From the program's pictures, not from the view picture: that one has
    // its blue ground made transparent for showing.
    tool.stamp = artwork::bitmap(viewResource(tool.furnitureKind, tool.orientation));
    tool.mode = Mode::Interior;
    tool.setStatusText(QString());
}

void pressToolButton(ToolState &tool, const ToolButton &button)
{
    switch (button.kind) {
    case ToolButton::Kind::Stamp:
        applyStampEntry(tool, *button.stamp);
        break;
    case ToolButton::Kind::Tool: {
        // The tool keeps the stamp: a correction click loads its square.
        const board::ModeRule *rule = board::modeRule(button.mode);
        const QString marker = rule ? rule->marker : QString();
        if (button.markerFirst)
            tool.setStatusText(marker);
        tool.mode = button.mode;
        tool.setStatusText(marker);
        break;
    }
    case ToolButton::Kind::Separator:
        break;
    }
}

void chooseTool(ToolState &tool, Mode mode)
{
    for (const ToolButton &button : toolBar()) {
        if (button.kind == ToolButton::Kind::Tool && button.mode == mode) {
            pressToolButton(tool, button);
            return;
        }
    }
}

namespace {
// A picture the program does not carry leaves the thumbnail's box empty.
QImage carried(const QString &name)
{
    return artwork::hasBitmap(name) ? artwork::bitmap(name) : QImage();
}
} // namespace

QImage thumbnail(const StampEntry &entry)
{
    return whiteGround(carried(entry.thumbnail));
}

QImage thumbnail(const FurnitureKind &kind)
{
    return whiteGround(carried(kind.base + QLatin1Char('1')));
}

QImage viewPicture(const QImage &view)
{
    if (view.isNull())
        return view;
    return raster::keyOut(view, 0, view.pixel(0, view.height() - 1));
}

} // namespace palette
