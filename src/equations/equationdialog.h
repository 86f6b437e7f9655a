#pragma once

#include "equationcommands.h"

#include <QDialog>

#include <optional>

class EquationPreview;
class QLineEdit;

// "Équation": one line of linear text, its live preview under it, a row of examples that a
// click puts into the line, OK and "Annuler".
class EquationDialog : public QDialog
{
    Q_OBJECT
public:
    explicit EquationDialog(const EquationRequest &request, QWidget *parent = nullptr);

    QString linear() const;
    static std::optional<QString> ask(const EquationRequest &request, QWidget *parent);
    // The examples, as the row shows them.
    static const QStringList &examples();

private:
    QLineEdit *m_line;
    EquationPreview *m_preview;
};
