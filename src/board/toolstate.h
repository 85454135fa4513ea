#pragma once

#include "modes.h"

#include <QImage>
#include <QObject>
#include <QString>

/// The one tool state of the process: what the next click on any map draws and
/// how. Owned by the main window, read by every map window, never saved.
class ToolState : public QObject {
    Q_OBJECT
public:
    /// The status texts of the correction and the fill tool.
    static inline const QString kCorrectionText = QStringLiteral("Korrektur-Modus");
    static inline const QString kFillText = QStringLiteral("Füll-Modus");

    explicit ToolState(QObject *parent = nullptr) : QObject(parent) {}

    /// The current stamp. Its pure blue pixels are never drawn, whatever was
    /// loaded into it.
    QImage stamp;
    /// How the next click is snapped and what it does.
    board::Mode mode = board::Mode::Interior;
    /// The furniture piece chosen in "Auswahl", 0 to 10.
    quint8 furnitureKind = 0;
    /// Which way that piece is turned, 1 to 4: the view buttons "1" to "4";
    /// n is view 1 turned clockwise by n - 1 quarter turns.
    quint8 orientation = 1;

    /// The status-bar text, which is also the mode marker read by map windows
    /// to choose their cursor: empty, "Korrektur-Modus" or "Füll-Modus".
    QString statusText() const { return m_statusText; }
    void setStatusText(const QString &text)
    {
        if (text == m_statusText)
            return;
        m_statusText = text;
        Q_EMIT statusTextChanged(text);
    }

Q_SIGNALS:
    void statusTextChanged(const QString &text);

private:
    QString m_statusText;
};
