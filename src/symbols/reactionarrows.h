#pragma once

#include <QImage>
#include <QRgb>

class RichTextControl;
class Clipboard;
struct EditorState;
struct SymbolHooks;

// The picture of `des01`: an arrow to the left above an arrow to the right, drawn with aliased
// lines on white. The inserted picture is h pixels high and 3 h wide; the button's own picture
// is wider, its heads keep the proportions of the inserted one.
struct ReactionArrowsPicture
{
    static QImage draw(int height, int penWidth, QRgb colour)
    {
        return draw(3 * height, height, penWidth, colour);
    }
    static QImage draw(int width, int height, int penWidth, QRgb colour);
};

// The `des01` click: draws the arrows after the size box and exo's selection and pastes them
// through the clipboard, the format memory's road.
class ReactionArrows
{
public:
    ReactionArrows(EditorState &state, RichTextControl &exo, Clipboard &clipboard, const SymbolHooks &hooks);
    void insert();
    QRgb penColour() const { return m_penColour; }

private:
    EditorState &m_state;
    RichTextControl &m_exo;
    Clipboard &m_clipboard;
    const SymbolHooks &m_hooks;
    // A mixed selection colour keeps the colour of the previous use.
    QRgb m_penColour = qRgb(0, 0, 0);
};

// exo's selection size, rounded to whole points; `fallback` when mixed.
int selectionSizePoints(const RichTextControl &exo, int fallback);
