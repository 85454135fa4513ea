#pragma once

#include <QDialog>

class QLabel;

/// The about box ("Info..."): logo, program name and version, two lines
/// crediting the author, and OK. Created once at start-up and shown modally.
/// The frame window it is given to watches it: a mouse move over any of its
/// parts empties the map previews.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);

    QLabel *logo() const { return m_logo; }
    QLabel *title() const { return m_title; }

private:
    QLabel *m_logo = nullptr;
    QLabel *m_title = nullptr;
};
