#pragma once

#include <QDialog>

#include <optional>

class QSpinBox;

// What `Formateur` edits: the common size and offset step given to every exponent or index.
struct FormateurSettings
{
    int kind = 1; // bulkScriptKind: 1 exponents, 2 indices
    int size = 8; // points, 8 to 40 in steps of 2
    int step = 8; // offset step, 1 to 50; opened at the main window's step for the kind
};

// `Formateur` "Modifier les exposants" / "Modifier les indices". "OK" accepts; the dialog has
// no cancel button, closing it otherwise applies nothing.
class Formateur : public QDialog
{
    Q_OBJECT
public:
    explicit Formateur(const FormateurSettings &settings, QWidget *parent = nullptr);
    FormateurSettings settings() const;

    // Shows it modally; the settings when "OK" was pressed, nothing when it was closed.
    static std::optional<FormateurSettings> ask(const FormateurSettings &settings, QWidget *parent);

private:
    int m_kind;
    QSpinBox *m_size = nullptr;
    QSpinBox *m_step = nullptr;
};
