#include "questcopy.h"

#include <QDataStream>
#include <QIODevice>

namespace questcopy {

QByteArray encode(const QuestDocument &document)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << document.title << document.monster << document.intro;
    for (int n = 0; n < QuestDocument::NoteCount; ++n)
        out << document.notes[std::size_t(n)] << document.active[std::size_t(n)];
    out << document.introFont << qint32(document.introSize);
    return bytes;
}

bool decode(const QByteArray &bytes, QuestDocument &document)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    QuestDocument read;
    in >> read.title >> read.monster >> read.intro;
    for (int n = 0; n < QuestDocument::NoteCount; ++n)
        in >> read.notes[std::size_t(n)] >> read.active[std::size_t(n)];
    qint32 size = 0;
    in >> read.introFont >> size;
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return false;
    read.introSize = size;
    document = read;
    return true;
}

} // namespace questcopy
