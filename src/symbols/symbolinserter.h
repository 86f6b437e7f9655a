#pragma once

class RichTextControl;
struct SymbolButton;

// A symbol button's click: its byte replaces exo's selection in the button's font, with every
// other attribute of the selection kept, and typing goes on in the font that was there before.
class SymbolInserter
{
public:
    explicit SymbolInserter(RichTextControl &exo) : m_exo(exo) {}
    void insert(const SymbolButton &button);

private:
    RichTextControl &m_exo;
};
