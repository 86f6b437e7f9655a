#include "qtinputboxes.h"

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
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}
