#include "objecttypedialog.h"

#include "platform/filedialogs.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

QString ObjectChoice::className(Type type)
{
    switch (type) {
    case Type::Image:
        return QStringLiteral("Image");
    case Type::Drawing:
        return QStringLiteral("Dessin");
    case Type::File:
        break;
    }
    return QStringLiteral("Package");
}

ObjectTypeDialog::ObjectTypeDialog(FileDialogs &files, QString folder, QWidget *parent)
    : QDialog(parent), m_files(files), m_folder(std::move(folder))
{
    setObjectName(QStringLiteral("insertObjet"));
    setWindowTitle(tr("Insérer un objet"));
    setAccessibleName(tr("Insérer un objet"));
    setModal(true);

    const QString typeCaption = tr("Type d'objet :");
    auto *typeLabel = new QLabel(typeCaption, this);
    m_types = new QListWidget(this);
    m_types->setObjectName(QStringLiteral("List1"));
    m_types->setAccessibleName(typeCaption);
    m_types->addItems({tr("Image (fichier BMP, GIF, JPEG ou PNG)"),
                       tr("Dessin (nouveau, dans le programme de dessin)"),
                       tr("Fichier quelconque (affiché par son icône)")});
    m_types->setCurrentRow(0);
    typeLabel->setBuddy(m_types);

    const QString fileCaption = tr("Fichier :");
    auto *fileLabel = new QLabel(fileCaption, this);
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("Text1"));
    m_path->setAccessibleName(fileCaption);
    fileLabel->setBuddy(m_path);
    auto *browse = new QPushButton(tr("Parcourir..."), this);
    browse->setObjectName(QStringLiteral("Command1"));
    browse->setAccessibleName(tr("Parcourir..."));
    browse->setAutoDefault(false);
    m_browse = browse;

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(tr("OK"));
    ok->setObjectName(QStringLiteral("Command2"));
    ok->setAccessibleName(tr("OK"));
    QPushButton *cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(tr("Annuler"));
    cancel->setObjectName(QStringLiteral("Command3"));
    cancel->setAccessibleName(tr("Annuler"));
    m_ok = ok;

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_path, 1);
    fileRow->addWidget(browse);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(typeLabel);
    layout->addWidget(m_types, 1);
    layout->addWidget(fileLabel);
    layout->addLayout(fileRow);
    layout->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, &ObjectTypeDialog::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_types, &QListWidget::currentRowChanged, this, &ObjectTypeDialog::updateState);
    connect(m_path, &QLineEdit::textChanged, this, &ObjectTypeDialog::updateState);
    updateState();
    m_types->setFixedHeight(m_types->sizeHintForRow(0) * 4 + 2 * m_types->frameWidth());
    resize(420, sizeHint().height());
}

ObjectChoice ObjectTypeDialog::choice() const
{
    ObjectChoice chosen;
    chosen.type = ObjectChoice::Type(qBound(0, m_types->currentRow(), 2));
    if (chosen.type != ObjectChoice::Type::Drawing)
        chosen.path = m_path->text().trimmed();
    return chosen;
}

void ObjectTypeDialog::browse()
{
    FileDialogRequest request;
    request.title = tr("Insérer un objet");
    request.filter = choice().type == ObjectChoice::Type::Image
                         ? tr("Images|*.bmp;*.gif;*.jpg;*.jpeg;*.png|Tous (*.*)|*.*")
                         : tr("Tous (*.*)|*.*");
    request.initialDirectory = m_folder;
    const FileDialogResult result = m_files.open(request);
    if (result.accepted())
        m_path->setText(result.path);
}

void ObjectTypeDialog::updateState()
{
    const bool drawing = choice().type == ObjectChoice::Type::Drawing;
    m_path->setEnabled(!drawing);
    m_browse->setEnabled(!drawing);
    m_ok->setEnabled(drawing || QFileInfo(m_path->text().trimmed()).isFile());
}
