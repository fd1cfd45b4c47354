#include "ui/dialogs/FilterImportDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "exchange/FilterFile.h"
#include "history/EditHistory.h"
#include "model/ChannelTable.h"
#include "model/KTV_Data.h"
#include "presets/PresetFileReader.h"
#include "text/TextFormat.h"
#include "tuning/LinkedFilterImport.h"
#include "ui/QtText.h"
#include "ui/controls/Skin.h"
#include "ui/panels/PanelHost.h"

namespace vantor {
namespace {

enum Column { kLine, kVerdict, kReason, kText, kColumns };

}  // namespace

FilterImportDlg::FilterImportDlg(PanelHost& host, QWidget* parent)
    : QDialog(parent), m_host(host), m_folder(QDir::homePath()) {
  setWindowModality(Qt::WindowModal);
  setFont(skin::Font1());
  resize(720, 400);
  m_chooser = [this](const QString& folder) {
    const QString filters = m_host.Text(TextId::ExchangeFileFilterText) + QStringLiteral(";;") +
                            m_host.Text(TextId::ExchangeFileFilterAll);
    return QFileDialog::getOpenFileName(parentWidget(), m_host.Text(TextId::MenuImportFilters),
                                        folder, filters);
  };

  m_summary = new QLabel(this);
  m_summary->setWordWrap(true);
  m_report = new QTableWidget(0, kColumns, this);
  m_report->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_report->setSelectionMode(QAbstractItemView::NoSelection);
  m_report->verticalHeader()->hide();
  m_report->setFocusPolicy(Qt::NoFocus);
  m_report->setWordWrap(false);
  m_accept = new QPushButton(this);
  m_cancel = new QPushButton(this);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_accept);
  buttons->addWidget(m_cancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(m_summary);
  column->addWidget(m_report, 1);
  column->addLayout(buttons);

  connect(m_accept, &QPushButton::clicked, this, &FilterImportDlg::accept);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
  ApplyLanguage();
}

void FilterImportDlg::Start(int channel) {
  const QString path = m_chooser(m_folder);
  if (path.isEmpty()) return;
  if (Load(path, channel)) open();
}

bool FilterImportDlg::Load(const QString& path, int channel) {
  const std::filesystem::path file = path.toStdString();
  const FilterFileText read = ReadFilterFile(file);
  if (!read.result.Ok()) {
    m_host.Message(Q(DescribeFileFailure(file, read.result, m_host.Chinese())));
    return false;
  }
  if (read.tooLarge) {
    m_host.Message(path + QStringLiteral(": ") + m_host.Text(TextId::ImportFileTooLarge));
    return false;
  }
  m_folder = QFileInfo(path).absolutePath();
  m_channel = channel;
  m_text = read.text;
  m_plan = PlanFilterImport(m_text, m_host.Data().Output(channel));
  ShowPlan();
  return true;
}

void FilterImportDlg::accept() {
  if (!m_plan.ChangesAnything()) return;
  {
    EditStep step(m_host.History(), TextId::StepFilterImport);
    // The person accepted what the dialog showed, refused lines left out.
    ApplyImportToLinkGroup(m_host.Data(), m_channel, m_text, m_plan, true);
  }
  m_host.ModelEdited();
  QDialog::accept();
}

void FilterImportDlg::ApplyLanguage() {
  m_report->setHorizontalHeaderLabels(
      {m_host.Text(TextId::ImportColumnLine), m_host.Text(TextId::ImportColumnVerdict),
       m_host.Text(TextId::ImportColumnReason), m_host.Text(TextId::ImportColumnText)});
  m_cancel->setText(m_host.Text(TextId::ImportCancel));
  ShowPlan();
}

void FilterImportDlg::ShowPlan() {
  const bool zh = m_host.Chinese();
  const std::string channel = ChannelLabel(m_channel);
  setWindowTitle(Q(FormatText(Tr(TextId::ImportTitle, zh), {{"channel", channel}})));

  QStringList lines;
  if (!m_plan.bands.empty()) {
    lines << Q(FormatText(Tr(TextId::ImportReplacesBands, zh),
                          {{"bands", std::to_string(m_plan.bands.size())}, {"channel", channel}}));
  }
  if (m_plan.highPass) lines << m_host.Text(TextId::ImportHighPassToo);
  if (m_plan.lowPass) lines << m_host.Text(TextId::ImportLowPassToo);
  if (m_plan.toParametric) lines << m_host.Text(TextId::ImportToParametric);
  if (!m_plan.ChangesAnything()) lines << m_host.Text(TextId::ImportNothing);
  const int refused = m_plan.RefusedLines();
  if (refused > 0) {
    lines << Q(
        FormatText(Tr(TextId::ImportRefusedHeading, zh), {{"count", std::to_string(refused)}}));
  } else if (m_plan.ChangesAnything()) {
    lines << m_host.Text(TextId::ImportAllLinesFit);
  }
  m_summary->setText(lines.join(QLatin1Char('\n')));

  m_report->setRowCount(static_cast<int>(m_plan.reports.size()));
  for (int row = 0; row < m_report->rowCount(); ++row) {
    const ImportLineReport& r = m_plan.reports[static_cast<std::size_t>(row)];
    const bool refusedLine = r.verdict == LineVerdict::kRefused;
    const QString cells[kColumns] = {
        QString::number(r.line),
        m_host.Text(refusedLine ? TextId::ImportVerdictRefused : TextId::ImportVerdictLeftOut),
        m_host.Text(r.reason), Q(r.text)};
    for (int c = 0; c < kColumns; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (refusedLine) item->setForeground(QColor(0xB0, 0x20, 0x20));
      m_report->setItem(row, c, item);
    }
  }
  m_report->resizeColumnsToContents();
  m_report->setVisible(!m_plan.reports.empty());

  m_accept->setText(m_host.Text(refused > 0 ? TextId::ImportAcceptRest : TextId::ImportAccept));
  m_accept->setEnabled(m_plan.ChangesAnything());
  // A partial import is not what Enter should do.
  m_accept->setDefault(refused == 0);
  m_cancel->setDefault(refused > 0);
}

}  // namespace vantor
