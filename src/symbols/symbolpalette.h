#pragma once

#include <QTabWidget>

#include <functional>

class QAbstractButton;
struct SymbolButton;

// `SSTab1`, the three tabs of symbol buttons at the left of the editor. It only shows and
// forwards: a click hands the button's table entry, or the arrows button, to the handlers.
class SymbolPalette : public QTabWidget
{
    Q_OBJECT
public:
    explicit SymbolPalette(QWidget *parent = nullptr);

    void onSymbolClicked(std::function<void(const SymbolButton &)> handler);
    void onArrowsClicked(std::function<void()> handler);
    // Start-up: every button at `points`, and the captions set at load time (the Arial
    // buttons of codes 137, 140, 149, 150, 151 and 156).
    void prepareButtons(double points);

    QAbstractButton *button(int index) const;

private:
    std::function<void(const SymbolButton &)> m_symbolClicked;
    std::function<void()> m_arrowsClicked;
};
