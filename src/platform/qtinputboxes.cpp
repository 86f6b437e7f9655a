#include "qtinputboxes.h"

#include "titlebar.h"

#include <QApplication>
#include <QInputDialog>

std::optional<QString> QtInputBoxes::ask(const QString &prompt, const QString &title,
                                         const QString &defaultText)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("inputBox"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QInputDialog::tr("OK"));
    dialog.setCancelButtonText(QInputDialog::tr("Annuler"));
    // The box is as narrow as its prompt, which is shorter than some titles.
    TitleBar::openWide(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}
