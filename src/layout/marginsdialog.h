#pragma once

#include <QDialog>

#include <array>

class QLineEdit;
class RichTextControl;

// `marges` "Les marges": the left and right indents of the paragraphs under exo's selection, in
// centimetres, in the boxes `Text1(0)` and `Text1(1)` (objects `Text1_0`, `Text1_1`). A box
// the selection gives no single value for opens empty, and an empty box leaves its indent as
// it is on "Valider".
class marges : public QDialog
{
    Q_OBJECT
public:
    static constexpr double maximumCm = 4;

    explicit marges(RichTextControl &exo, QWidget *parent = nullptr);

    void valider(); // `Command1`: clamp to 0-4 cm, apply, close
    QLineEdit *box(int index) const { return m_boxes.at(index); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    RichTextControl &m_exo;
    std::array<QLineEdit *, 2> m_boxes{};
};
