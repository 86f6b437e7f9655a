#pragma once

#include <QDialog>
#include <QLabel>

#include <functional>

class QComboBox;

// One cell of the grid (`Label1(i)`): dark blue while pressed, a click on release.
class CharacterCell : public QLabel
{
    Q_OBJECT
public:
    CharacterCell(int index, QWidget *parent);
    int code() const { return m_index + 40; }
    void showIn(const QString &fontName);

Q_SIGNALS:
    void clicked(int code);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setColours(QColor background, QColor text);
    int m_index;
};

// `echanti` "Caractères spéciaux": the codes 40 to 255 of a font as a 27 x 8 grid. Each click
// hands the code and the font in the box to the handler; the dialog stays open until "Fermer".
class SpecialCharsDialog : public QDialog
{
    Q_OBJECT
public:
    SpecialCharsDialog(const QString &gridFont, const QStringList &screenFonts,
                       std::function<void(const QString &font, unsigned char code)> insert,
                       QWidget *parent = nullptr);

    // What the grid shows; `specialCharsFont` takes it when the dialog closes.
    QString gridFont() const { return m_gridFont; }
    // The font the next insertion uses: the box's text, also a name typed and not in the list.
    QString chosenFont() const;

    // The character a cell shows for `code` in `fontName`, and the font to draw it in; a null
    // character when the font has nothing for it (an empty cell).
    static QChar cellCharacter(const QString &fontName, unsigned char code);

private:
    void showGridIn(const QString &fontName);

    QComboBox *m_fonts = nullptr;
    QList<CharacterCell *> m_cells;
    QString m_gridFont;
};
