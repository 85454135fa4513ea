#pragma once

#include <QString>
#include <QStringList>
#include <array>

/// The text part of one quest, as the quest editor shows it. Text fields are
/// held as their lines as shown: a paragraph the field wraps is several lines,
/// and a final empty line is not counted.
struct QuestDocument {
    /// Index of the notes: A, B, C, D and the other note ("Sonstiges").
    enum Note { A = 0, B = 1, C = 2, D = 3, Other = 4, NoteCount = 5 };

    QString title;
    QString monster;
    QStringList intro;
    std::array<QStringList, NoteCount> notes;
    std::array<bool, NoteCount> active{};

    /// The intro font's family name (empty: the default face) and its size in
    /// points (8 to 14). Not stored in quest files.
    QString introFont;
    int introSize = 8;

    bool operator==(const QuestDocument &o) const
    {
        return title == o.title && monster == o.monster && intro == o.intro && notes == o.notes &&
               active == o.active && introFont == o.introFont && introSize == o.introSize;
    }
    bool operator!=(const QuestDocument &o) const { return !(*this == o); }
};
