#include "dialogfit.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTextDocument>
#include <QTextEdit>

#include <cmath>

namespace {

QString nameOf(const QWidget *widget)
{
    QString name = widget->objectName();
    if (name.isEmpty())
        name = widget->accessibleName();
    if (name.isEmpty())
        name = QString::fromLatin1(widget->metaObject()->className());
    return name;
}

QString size(const QSize &s)
{
    return QStringLiteral("%1 x %2").arg(s.width()).arg(s.height());
}

// Where a label draws its text, in its own coordinates, and whether that text is cut.
struct LabelText
{
    QRect drawn;
    QString problem;
};

LabelText labelText(const QLabel *label)
{
    const QString text = label->text();
    QRect room = label->contentsRect();
    room.adjust(label->margin(), label->margin(), -label->margin(), -label->margin());
    const Qt::TextFormat format = label->textFormat();
    const bool rich = format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text));
    QSize needed;
    if (rich) {
        QTextDocument document;
        document.setDefaultFont(label->font());
        document.setDocumentMargin(0);
        document.setHtml(text);
        if (label->wordWrap())
            document.setTextWidth(room.width());
        needed = QSize(int(std::ceil(document.idealWidth())), int(std::ceil(document.size().height())));
    } else {
        int flags = int(label->alignment());
        if (label->wordWrap())
            flags |= Qt::TextWordWrap;
        // A label with a buddy draws its '&' as an underline under the next letter.
        if (label->buddy())
            flags |= Qt::TextShowMnemonic;
        needed = label->fontMetrics().boundingRect(room, flags, text).size();
    }
    LabelText result;
    result.drawn = QStyle::alignedRect(label->layoutDirection(), label->alignment(), needed, room) & room;
    if (needed.width() > room.width() || needed.height() > room.height())
        result.problem = QStringLiteral("label %1 \"%2\" needs %3, has %4")
                             .arg(nameOf(label), text, size(needed), size(room.size()));
    return result;
}

// The rectangle a line edit gives its text, as QLineEdit::paintEvent computes it.
int lineEditTextHeight(const QLineEdit *edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (edit->isReadOnly())
        option.state |= QStyle::State_ReadOnly;
    option.features = QStyleOptionFrame::None;
    QRect room = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    room.adjust(margins.left(), margins.top(), -margins.right(), -margins.bottom());
    return room.height();
}

QString buttonProblem(const QAbstractButton *button)
{
    const QString text = button->text();
    if (text.isEmpty())
        return {};
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = text;
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    int indicator = 0;
    if (qobject_cast<const QCheckBox *>(button))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton *>(button))
        contents = QStyle::SE_RadioButtonContents;
    else if (!qobject_cast<const QPushButton *>(button))
        return {}; // tool buttons show pictures
    if (contents == QStyle::SE_PushButtonContents && !option.icon.isNull())
        indicator = option.iconSize.width() + 4;
    const QRect room = button->style()->subElementRect(contents, &option, button);
    const QFontMetrics metrics = button->fontMetrics();
    const QSize needed(metrics.boundingRect(QRect(), Qt::TextShowMnemonic, text).width() + indicator,
                       metrics.height());
    if (needed.width() > room.width() || needed.height() > room.height())
        return QStringLiteral("button %1 \"%2\" needs %3, has %4")
            .arg(nameOf(button), text, size(needed), size(room.size()));
    return {};
}

QRect groupBoxCaption(const QGroupBox *box)
{
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isCheckable())
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
    if (box->isFlat())
        option.features |= QStyleOptionFrame::Flat;
    return box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
}

class Sweep
{
public:
    explicit Sweep(const QWidget *window) : m_window(window) {}

    QStringList run()
    {
        checkWindow();
        visit(m_window);
        return m_problems;
    }

private:
    bool shown(const QWidget *widget) const
    {
        return widget->isVisibleTo(m_window) && !widget->size().isEmpty();
    }

    void add(const QString &problem)
    {
        if (!problem.isEmpty())
            m_problems.append(problem);
    }

    void checkWindow()
    {
        // A window manager's title bar draws the title in a bold font beside its icon and its
        // three buttons, centred between as much room on each side; it elides a title longer
        // than what remains.
        const QString title = m_window->windowTitle();
        if (!title.isEmpty()) {
            QFont bold = m_window->font();
            bold.setBold(true);
            const QFontMetrics metrics(bold);
            const int frameButtons = 6 * (metrics.height() + 6) + 16;
            const int needed = metrics.horizontalAdvance(title) + frameButtons;
            if (m_window->width() < needed)
                add(QStringLiteral("window %1: title \"%2\" needs %3 pixels of width, has %4")
                        .arg(nameOf(m_window), title)
                        .arg(needed)
                        .arg(m_window->width()));
        }
        if (const QScreen *screen = m_window->screen()) {
            const QSize room = screen->availableGeometry().size();
            if (m_window->width() > room.width() || m_window->height() > room.height())
                add(QStringLiteral("window %1 is %2, larger than the screen's %3")
                        .arg(nameOf(m_window), size(m_window->size()), size(room)));
        }
    }

    void checkInsideParent(const QWidget *widget)
    {
        const QWidget *parent = widget->parentWidget();
        if (!parent || widget == m_window)
            return;
        if (!parent->rect().contains(widget->geometry()))
            add(QStringLiteral("%1 at (%2, %3) %4 stands out of %5, %6")
                    .arg(nameOf(widget))
                    .arg(widget->x())
                    .arg(widget->y())
                    .arg(size(widget->size()), nameOf(parent), size(parent->size())));
    }

    // A caption or a label's text is cut when a neighbour is drawn over it.
    void checkUncovered(const QWidget *owner, const QRect &text, const QString &what)
    {
        const QWidget *parent = owner->parentWidget();
        if (!parent || owner == m_window)
            return;
        const QRect inParent = text.translated(owner->pos());
        for (const QObject *object : parent->children()) {
            const auto *sibling = qobject_cast<const QWidget *>(object);
            if (!sibling || sibling == owner || sibling->isWindow() || !shown(sibling))
                continue;
            // Neighbours of a design grid share their one-pixel borders.
            const QRect covered = sibling->geometry() & inParent;
            if (covered.width() > 1 && covered.height() > 1)
                add(QStringLiteral("%1 is covered by %2").arg(what, nameOf(sibling)));
        }
    }

    void checkLabel(const QLabel *label)
    {
        if (label->text().isEmpty())
            return; // a picture
        const LabelText text = labelText(label);
        add(text.problem);
        checkUncovered(label, text.drawn, QStringLiteral("the text of %1").arg(nameOf(label)));
    }

    void checkLineEdit(const QLineEdit *edit)
    {
        const int line = edit->fontMetrics().height();
        const int room = lineEditTextHeight(edit);
        if (room < line)
            add(QStringLiteral("text box %1 gives its text %2 pixels, its font's line is %3 (box %4)")
                    .arg(nameOf(edit))
                    .arg(room)
                    .arg(line)
                    .arg(size(edit->size())));
    }

    void checkGroupBox(const QGroupBox *box)
    {
        if (box->title().isEmpty())
            return;
        const QRect caption = groupBoxCaption(box);
        const int needed =
            box->fontMetrics().boundingRect(QRect(), Qt::TextShowMnemonic, box->title()).width();
        const QString what = QStringLiteral("the caption of %1").arg(nameOf(box));
        if (caption.width() < needed || !box->rect().contains(caption))
            add(QStringLiteral("%1 \"%2\" needs %3 pixels, has %4")
                    .arg(what, box->title())
                    .arg(needed)
                    .arg(caption.width()));
        for (const QObject *object : box->children()) {
            const auto *child = qobject_cast<const QWidget *>(object);
            if (child && !child->isWindow() && shown(child) && child->geometry().intersects(caption))
                add(QStringLiteral("%1 is covered by %2").arg(what, nameOf(child)));
        }
        // A caption touching the text above it reads as one more line of that text: it
        // counts as covered unless a clear gap of two pixels parts them.
        checkUncovered(box, caption.adjusted(0, -3, 0, 0), what);
    }

    void checkTextArea(const QAbstractScrollArea *area)
    {
        const int viewport = area->viewport()->height();
        int line = 0;
        if (const auto *list = qobject_cast<const QListWidget *>(area))
            line = list->count() > 0 ? list->sizeHintForRow(0) : list->fontMetrics().height();
        else if (qobject_cast<const QPlainTextEdit *>(area) || qobject_cast<const QTextEdit *>(area))
            line = area->fontMetrics().lineSpacing();
        if (line > 0 && viewport < line)
            add(QStringLiteral("text area %1 shows %2 pixels, one line is %3")
                    .arg(nameOf(area))
                    .arg(viewport)
                    .arg(line));
    }

    void visit(const QWidget *widget)
    {
        for (const QObject *object : widget->children()) {
            const auto *child = qobject_cast<const QWidget *>(object);
            if (!child || child->isWindow() || !shown(child))
                continue;
            checkInsideParent(child);
            if (const auto *label = qobject_cast<const QLabel *>(child)) {
                checkLabel(label);
            } else if (const auto *edit = qobject_cast<const QLineEdit *>(child)) {
                checkLineEdit(edit);
            } else if (const auto *button = qobject_cast<const QAbstractButton *>(child)) {
                add(buttonProblem(button));
            } else if (const auto *combo = qobject_cast<const QComboBox *>(child)) {
                if (combo->lineEdit())
                    checkLineEdit(combo->lineEdit());
                else if (combo->height() < combo->fontMetrics().height())
                    add(QStringLiteral("list box %1 is lower than its font").arg(nameOf(combo)));
                continue; // its inner parts are the style's
            } else if (const auto *spin = qobject_cast<const QAbstractSpinBox *>(child)) {
                if (const auto *inner = spin->findChild<const QLineEdit *>())
                    checkLineEdit(inner);
                continue;
            } else if (const auto *area = qobject_cast<const QAbstractScrollArea *>(child)) {
                checkTextArea(area);
                continue;
            } else if (qobject_cast<const QTabBar *>(child)) {
                continue;
            } else if (const auto *box = qobject_cast<const QGroupBox *>(child)) {
                checkGroupBox(box);
            }
            visit(child);
        }
    }

    const QWidget *m_window;
    QStringList m_problems;
};

} // namespace

QStringList DialogFit::problems(const QWidget *window)
{
    return Sweep(window).run();
}
