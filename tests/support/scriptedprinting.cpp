#include "scriptedprinting.h"

#include "scriptfault.h"

#include <QFile>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

// Page objects of a PDF written by QPdfWriter, which writes its object dictionaries
// uncompressed; "/Type /Pages" is the page tree, not a page.
int countPdfPages(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray pdf = file.readAll();
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    int pages = 0;
    for (QRegularExpressionMatchIterator it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext();
         it.next())
        ++pages;
    return pages;
}

} // namespace

bool ScriptedPrinting::setUp()
{
    m_calls.append({true, false, false, false, {}, {}});
    if (m_setUpAnswers.isEmpty()) {
        fault(QStringLiteral("Unexpected printer set-up dialog: no answer queued"));
        return false;
    }
    return m_setUpAnswers.dequeue();
}

bool ScriptedPrinting::print(bool hasSelection, const std::function<bool(QPagedPaintDevice &, bool)> &job)
{
    m_calls.append({false, hasSelection, false, false, {}, {}});
    if (m_printAnswers.isEmpty()) {
        fault(QStringLiteral("Unexpected print dialog (selection %1): no answer queued")
                  .arg(hasSelection ? QStringLiteral("offered") : QStringLiteral("not offered")));
        return false;
    }
    const int answer = m_printAnswers.dequeue();
    if (answer == 0)
        return false;
    const bool selectionOnly = answer == 2;
    if (selectionOnly && !hasSelection)
        fault(QStringLiteral("Print dialog answered \"selection\" but no selection was offered"));

    ++m_jobCount;
    m_lastPdf = m_directory.filePath(QStringLiteral("job%1.pdf").arg(m_jobCount));
    m_lastSelectionOnly = selectionOnly;
    {
        QPdfWriter writer(m_lastPdf);
        m_lastResult = job ? job(writer, selectionOnly) : false;
    } // the writer completes its file here
    m_lastPages = countPdfPages(m_lastPdf);
    return m_lastResult;
}

PrintOutcome ScriptedPrinting::printOnCurrent(const QString &pdfWhenNoPrinter,
                                              const std::function<bool(QPagedPaintDevice &)> &job)
{
    PrintCall call;
    call.direct = true;
    call.pdfWhenNoPrinter = pdfWhenNoPrinter;
    m_calls.append(call);
    ++m_jobCount;
    m_lastPdf = m_printerInstalled ? m_directory.filePath(QStringLiteral("job%1.pdf").arg(m_jobCount))
                                   : pdfWhenNoPrinter;
    m_lastSelectionOnly = false;
    {
        QPdfWriter writer(m_lastPdf);
        m_lastResult = job ? job(writer) : false;
    }
    m_lastPages = countPdfPages(m_lastPdf);
    PrintOutcome outcome;
    outcome.printed = m_lastResult;
    if (!m_printerInstalled)
        outcome.pdfPath = pdfWhenNoPrinter;
    return outcome;
}

bool ScriptedPrinting::printToPdf(const QString &path, const QString &title,
                                  const std::function<bool(QPagedPaintDevice &)> &job)
{
    PrintCall call;
    call.toPdf = true;
    call.pdfWhenNoPrinter = path;
    call.title = title;
    m_calls.append(call);
    ++m_jobCount;
    m_lastPdf = path;
    m_lastSelectionOnly = false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return m_lastResult = false;
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(title);
        m_lastResult = job ? job(writer) : false;
    }
    if (!m_lastResult)
        file.cancelWriting();
    else
        m_lastResult = file.commit();
    m_lastPages = m_lastResult ? countPdfPages(m_lastPdf) : 0;
    return m_lastResult;
}

void ScriptedPrinting::clear()
{
    m_setUpAnswers.clear();
    m_printAnswers.clear();
    m_calls.clear();
    m_faults.clear();
}

void ScriptedPrinting::fault(const QString &message)
{
    m_faults.append(message);
    reportScriptFault(message);
}
