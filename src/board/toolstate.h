#pragma once

#include <QImage>
#include <QObject>
#include <QString>

/// The one tool state of the process: what the next click on any map draws and
/// how. Owned by the main window, read by every map window, never saved.
class ToolState : public QObject {
    Q_OBJECT
public:
    /// Placement modes: how a click is snapped and what it does.
    enum Mode : quint8 {
        Square = 0,   ///< draw the stamp in the clicked square's interior
        Correct = 1,  ///< restore the clicked square from the square table
        LeftLine = 2, ///< draw on the square's left line (doors, stones)
        TopLine = 3,  ///< draw on the square's top line
        OutLeft = 4,  ///< entrance/exit reaching out of the square to the left
        OutUp = 5,    ///< entrance/exit reaching out of the square upwards
        Fill = 6,     ///< grey the white area under the click
    };

    static inline const QString kCorrectionText = QStringLiteral("Korrektur-Modus");
    static inline const QString kFillText = QStringLiteral("Füll-Modus");

    explicit ToolState(QObject *parent = nullptr) : QObject(parent) {}

    /// The current stamp. Its pure blue pixels are never drawn, whatever was
    /// loaded into it.
    QImage stamp;
    quint8 mode = Square;
    quint8 furnitureKind = 0;
    quint8 view = 1;

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
