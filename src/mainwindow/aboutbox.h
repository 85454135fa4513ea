#pragma once

#include "preview.h"

#include <QDialog>

class QLabel;

/// The about box ("Info..."): logo, program name and version, two lines
/// crediting the author, and OK. Created once at start-up and shown modally.
/// A mouse move over any of its parts empties the map previews.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(PreviewState &preview, QWidget *parent = nullptr);

    QLabel *logo() const { return m_logo; }
    QLabel *title() const { return m_title; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PreviewState &m_preview;
    QLabel *m_logo = nullptr;
    QLabel *m_title = nullptr;
};
