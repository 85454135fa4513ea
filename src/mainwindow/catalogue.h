#pragma once

#include "raster.h"
#include "toolstate.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

/// The catalogue of everything the palette offers, as data: the stamp entries
/// of the tool bar and the palette pages, the buttons of the tool bar, the
/// eleven furniture kinds of the group "Auswahl", and the framed groups that
/// hold them. The tool bar and the palette widgets are built from these
/// tables, and the tool-state operations below are what a click on an entry
/// does.
namespace palette {

/// One framed group of a palette page.
struct Group {
    QString title; ///< caption, e.g. "Türen und Geheimtüren"
    int page;      ///< 1 to 4 ("Seite 1" to "Seite 4")
    int height;    ///< pixels; every group is kWidth wide
    bool white;    ///< white background ("Drehen" keeps the button colour)
};

/// Width of every group.
constexpr int kGroupWidth = 209;

/// One entry that loads a picture into the current stamp.
struct StampEntry {
    QString component; ///< "Image20", "ToolButton1", ...
    QString group;     ///< group caption; empty for the tool bar
    int page;          ///< 1 to 4; 0 for the tool bar
    QRect box;         ///< thumbnail box, left and top inside its group
    bool scaled;       ///< thumbnail scaled to the box, else natural size
    QString hint;      ///< tooltip, may be empty
    QString resource;  ///< stamp picture loaded on a click
    board::Mode mode;  ///< placement mode set on a click
    QSize size;        ///< the stamp picture's size
    QString name;      ///< the piece's German name ("Geheimtür oben")
    QString thumbnail; ///< picture the palette shows: the stamp's, or one of its own
};

/// One place of the tool bar, left to right: a monster that stamps, the
/// separator, or a tool that chooses a placement mode of its own.
struct ToolButton {
    enum class Kind { Stamp, Separator, Tool };
    QString component; ///< "ToolButton1" ... "ToolButton11"
    Kind kind;
    int glyph;                                ///< its icon, "GLYPH<n>"; -1 for the separator
    QString hint;                             ///< tooltip and name for assistive technology
    const StampEntry *stamp = nullptr;        ///< Stamp: the entry it loads
    board::Mode mode = board::Mode::Interior; ///< Tool: the mode it chooses
    /// Tool: its status text (the mode's marker) is shown before the mode
    /// changes, not after.
    bool markerFirst = false;
};

/// One furniture kind of the group "Auswahl".
struct FurnitureKind {
    QString component; ///< thumbnail, "Image1" ...
    quint8 kind;       ///< 0 to 10
    QString hint;
    QString base; ///< the picture of view n is base + n ("ALTAR3")
    QRect box;    ///< thumbnail box inside "Auswahl"
    bool scaled;
};

/// Caption of the group with the four views and "Übernehmen".
QString viewGroupTitle(); // "Drehen"
/// Caption of the group with the furniture thumbnails.
QString choiceGroupTitle(); // "Auswahl"

/// The framed groups, page by page, top to bottom.
const std::vector<Group> &groups();

/// Every stamp entry: the eight monsters of the tool bar first, then the
/// thumbnails of the pages in the order in which they stand in their groups.
const std::vector<StampEntry> &stampEntries();

/// The tool bar, left to right.
const std::vector<ToolButton> &toolBar();

/// The monsters of the tool bar by name, in button order.
QStringList monsterNames();

/// The furniture kinds, by kind number (index k is kind k).
const std::vector<FurnitureKind> &furnitureKinds();

/// Lookups by component name; nullptr for a name that is no such entry.
const StampEntry *findStampEntry(const QString &component);
const FurnitureKind *findFurniture(const QString &component);
const ToolButton *findToolButton(const QString &component);

/// What the palette calls an entry in its tooltip and for assistive
/// technology: the hint where the entry has one, else the piece's name.
QString entryLabel(const StampEntry &entry);

/// Resource of a furniture view: base name of the kind followed by the view's
/// digit. An out-of-range kind or view gives an empty name.
QString viewResource(quint8 kind, quint8 view);

// ---- Tool-state operations -------------------------------------------------

/// A stamp entry: load its picture into the current stamp, set its placement
/// mode, empty the status text, in this order.
void applyStampEntry(ToolState &tool, const StampEntry &entry);

/// A furniture thumbnail: sets the kind and orientation 1 and returns the resource the
/// view picture shows. The stamp, mode and status text stay.
QString chooseFurniture(ToolState &tool, quint8 kind);

/// A view button: sets the orientation and returns the resource the view picture
/// shows. The stamp, mode and status text stay.
QString chooseView(ToolState &tool, quint8 view);

/// "Übernehmen": the shown piece in the shown view becomes the current stamp,
/// loaded afresh from the program's pictures; the interior mode, empty status
/// text.
void takeFurniture(ToolState &tool);

/// A tool-bar button: a monster is a stamp entry; a tool sets its mode and
/// shows the mode's marker as status text (in the order its row says) and
/// keeps the stamp; the separator does nothing.
void pressToolButton(ToolState &tool, const ToolButton &button);

/// Presses the tool-bar tool that chooses `mode` (the correction or the fill
/// tool); nothing where no tool chooses it.
void chooseTool(ToolState &tool, board::Mode mode);

// ---- Pictures ---------------------------------------------------------------

using raster::whiteGround;

/// The thumbnail picture of a stamp entry: its thumbnail on white; a null
/// picture while the program does not carry it.
QImage thumbnail(const StampEntry &entry);

/// The thumbnail picture of a furniture kind: view 1 on white.
QImage thumbnail(const FurnitureKind &kind);

/// A furniture view as the view picture shows it: the colour of its
/// bottom-left pixel (its blue ground) made transparent.
QImage viewPicture(const QImage &view);

} // namespace palette
