#include "clipboardpicture.h"

#include "bmpcodec.h"
#include "errors.h"

#include <QMimeData>

namespace {

const QString kBmpType = QStringLiteral("image/bmp");

// The names under which programs offer BMP data.
const QStringList &bmpTypes()
{
    static const QStringList types{
        kBmpType, QStringLiteral("image/x-bmp"), QStringLiteral("image/x-ms-bmp"),
        QStringLiteral("image/x-MS-bmp"), QStringLiteral("image/x-win-bitmap")};
    return types;
}

// The picture as this program puts it on the clipboard.
class PictureData : public QMimeData {
public:
    explicit PictureData(const QImage &picture) : m_picture(picture) { setImageData(picture); }
    const QImage &picture() const { return m_picture; }

    QStringList formats() const override { return QMimeData::formats() << kBmpType; }
    bool hasFormat(const QString &type) const override
    {
        return type == kBmpType || QMimeData::hasFormat(type);
    }

protected:
    QVariant retrieveData(const QString &type, QMetaType metaType) const override
    {
        if (type == kBmpType)
            return raster::encodeBmp(m_picture);
        return QMimeData::retrieveData(type, metaType);
    }

private:
    QImage m_picture;
};

} // namespace

QMimeData *clipboardpicture::mimeData(const QImage &picture)
{
    return new PictureData(picture);
}

QImage clipboardpicture::picture(const QMimeData *data)
{
    if (!data)
        return QImage();
    if (const auto *own = dynamic_cast<const PictureData *>(data))
        return own->picture();
    for (const QString &type : bmpTypes()) {
        if (!data->hasFormat(type))
            continue;
        try {
            return raster::readBmpData(data->data(type));
        } catch (const DkError &) {
            return QImage();
        }
    }
    return data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
}
