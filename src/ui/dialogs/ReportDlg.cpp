#include "ui/dialogs/ReportDlg.h"

#include <QHeaderView>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableWidget>
#include <QTextDocument>
#include <span>

#include "base/FileIo.h"
#include "model/ProgramState.h"
#include "presets/PresetFileReader.h"
#include "ui/QtText.h"
#include "ui/app/VantorView.h"
#include "ui/controls/Skin.h"
#include "ui/controls/TwoStateButton.h"

namespace vantor {
namespace {

constexpr QSize kSize(960, 600);
constexpr int kPrintId = 1;
constexpr int kExportId = 2;
constexpr int kCloseId = 3;

QString Escaped(const std::string& text) { return Q(text).toHtmlEscaped(); }

}  // namespace

ReportDlg::ReportDlg(CVantorView& view)
    : FormDialog(view.window(), view.Chinese(), TextId::ReportTitle, kSize), m_view(view) {
  const auto types = std::span<const std::uint8_t>(view.State().SpeakerTypes());
  m_report = BuildParameterReport(view.Data(), Chinese(), types.first(rec::kOutputCount));

  m_table = new QTableWidget(static_cast<int>(m_report.rows.size()),
                             static_cast<int>(m_report.headings.size()), this);
  m_table->setGeometry(12, 12, kSize.width() - 24, kSize.height() - 72);
  m_table->setFont(skin::Font2());
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->verticalHeader()->hide();
  QStringList headings;
  for (const std::string& h : m_report.headings) headings << Q(h);
  m_table->setHorizontalHeaderLabels(headings);
  for (std::size_t r = 0; r < m_report.rows.size(); ++r) {
    const auto& row = m_report.rows[r];
    for (std::size_t c = 0; c < row.size(); ++c) {
      m_table->setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(Q(row[c])));
    }
  }
  m_table->setWordWrap(false);
  m_table->verticalHeader()->setDefaultSectionSize(QFontMetrics(skin::Font2()).height() + 6);
  // The parameter names as wide as they need, the outputs sharing the rest.
  QHeaderView* header = m_table->horizontalHeader();
  header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  for (int c = 1; c < m_table->columnCount(); ++c)
    header->setSectionResizeMode(c, QHeaderView::Stretch);
  m_table->setCurrentItem(nullptr);

  const int top = kSize.height() - 48;
  m_print = AddButton(kPrintId, TextId::ReportPrint,
                      QRect(kSize.width() - 12 - 3 * 128 - 16, top, 128, 34));
  m_export = AddButton(kExportId, TextId::ReportExportCsv,
                       QRect(kSize.width() - 12 - 2 * 128 - 8, top, 128, 34));
  m_close = AddButton(kCloseId, TextId::DialogClose, QRect(kSize.width() - 12 - 128, top, 128, 34));
  connect(m_print, &QAbstractButton::clicked, this, &ReportDlg::OnPrint);
  connect(m_export, &QAbstractButton::clicked, this, &ReportDlg::OnExportCsv);
  connect(m_close, &QAbstractButton::clicked, this, &QDialog::accept);
}

QString ReportDlg::Html() const {
  QString html =
      QStringLiteral("<h3>%1</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">")
          .arg(Text(TextId::ReportTitle).toHtmlEscaped());
  html += QStringLiteral("<tr>");
  for (const std::string& h : m_report.headings)
    html += QStringLiteral("<th>%1</th>").arg(Escaped(h));
  html += QStringLiteral("</tr>");
  for (const auto& row : m_report.rows) {
    html += QStringLiteral("<tr>");
    for (const std::string& cell : row) html += QStringLiteral("<td>%1</td>").arg(Escaped(cell));
    html += QStringLiteral("</tr>");
  }
  return html + QStringLiteral("</table>");
}

void ReportDlg::PrintTo(QPrinter& printer) const {
  QTextDocument document;
  document.setDefaultFont(skin::Font2());
  document.setHtml(Html());
  document.print(&printer);
}

void ReportDlg::OnPrint() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(Text(TextId::ReportTitle));
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
}

void ReportDlg::OnExportCsv() {
  FileRequest request;
  request.kind = FileRequest::Kind::kSave;
  request.title = Text(TextId::ReportExportCsv);
  request.filter = QStringLiteral("*.csv");
  request.suffix = QStringLiteral("csv");
  const QString path = m_view.ChooseFile(request);
  if (!path.isEmpty()) ExportCsv(path);
}

bool ReportDlg::ExportCsv(const QString& path) {
  const std::string csv = ParameterReportCsv(m_report);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(csv.data());
  const FileResult saved = ReplaceFile(path.toStdString(), std::span(bytes, csv.size()));
  if (saved.Ok()) return true;
  m_view.Message(Text(TextId::FileWriteError) + QLatin1Char('\n') +
                 Q(DescribeFileFailure(path.toStdString(), saved, Chinese())));
  return false;
}

}  // namespace vantor
