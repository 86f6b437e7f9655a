#pragma once

#include "ionformulapicture.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// What the composer `polyion` is opened with and gives back.
struct IonFormulaRequest
{
    IonFormulaStyle style; // from exo's selection; mixed attributes keep the boxes' design values
    IonFormula formula;    // out: the three boxes
    bool accepted = false; // out: "OK" was pressed
};

// `polyion` "Insertion de la formule d'un ion polyatomique": three entry boxes laid out after
// the size of exo's selection. Modal; the caller reads the request back.
class IonFormulaDialog : public QDialog
{
    Q_OBJECT
public:
    explicit IonFormulaDialog(const IonFormulaRequest &request, QWidget *parent = nullptr);
    IonFormulaRequest request() const;

    // Shows the dialog modally and fills `request` from it.
    static void run(IonFormulaRequest &request, QWidget *parent);

private:
    // The design geometry at `size` points, grown where a text or a box's font needs more.
    void layOut(double size);
    static void styleBox(QLineEdit *box, const IonFormulaStyle &style, double points);

    IonFormulaRequest m_request;
    QLabel *m_label = nullptr;
    QGroupBox *m_frame = nullptr;
    QLineEdit *m_base = nullptr;
    QLineEdit *m_upper = nullptr;
    QLineEdit *m_lower = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_ok = nullptr;
};
