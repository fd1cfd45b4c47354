#include "ui/dialogs/FilterExportDlg.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "exchange/FilterExport.h"
#include "exchange/FilterFile.h"
#include "model/ChannelTable.h"
#include "model/KTV_Data.h"
#include "presets/PresetFileReader.h"
#include "text/TextFormat.h"
#include "ui/QtText.h"
#include "ui/controls/Skin.h"
#include "ui/panels/PanelHost.h"

namespace vantor {
namespace {

constexpr std::array<ExchangeFormat, 3> kFormats = {
    ExchangeFormat::kRew, ExchangeFormat::kEqualizerApo, ExchangeFormat::kCamillaDsp};
constexpr std::array<TextId, 3> kFormatNames = {TextId::ExportFormatRew, TextId::ExportFormatEqApo,
                                                TextId::ExportFormatCamillaDsp};

}  // namespace

FilterExportDlg::FilterExportDlg(PanelHost& host, QWidget* parent)
    : QDialog(parent), m_host(host), m_folder(QDir::homePath()) {
  setWindowModality(Qt::WindowModal);
  setFont(skin::Font1());
  resize(560, 380);
  m_chooser = [this](const QString& suggested, const QString& filters) {
    return QFileDialog::getSaveFileName(this, windowTitle(), suggested, filters);
  };

  m_formatCaption = new QLabel(this);
  m_formats = new QComboBox(this);
  for (std::size_t i = 0; i < kFormats.size(); ++i) m_formats->addItem(QString());
  m_preview = new QPlainTextEdit(this);
  m_preview->setReadOnly(true);
  m_preview->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_preview->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_notes = new QLabel(this);
  m_notes->setWordWrap(true);
  m_save = new QPushButton(this);
  m_close = new QPushButton(this);
  m_save->setDefault(true);

  auto* top = new QHBoxLayout;
  top->addWidget(m_formatCaption);
  top->addWidget(m_formats, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_save);
  buttons->addWidget(m_close);
  auto* column = new QVBoxLayout(this);
  column->addLayout(top);
  column->addWidget(m_preview, 1);
  column->addWidget(m_notes);
  column->addLayout(buttons);

  connect(m_formats, &QComboBox::currentIndexChanged, this, [this] { ShowText(); });
  connect(m_save, &QPushButton::clicked, this, &FilterExportDlg::Save);
  connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
  ApplyLanguage();
}

void FilterExportDlg::ApplyLanguage() {
  m_formatCaption->setText(m_host.Text(TextId::ExportFormatCaption));
  for (std::size_t i = 0; i < kFormatNames.size(); ++i) {
    m_formats->setItemText(static_cast<int>(i), m_host.Text(kFormatNames[i]));
  }
  m_save->setText(m_host.Text(TextId::ExportSave));
  m_close->setText(m_host.Text(TextId::ExportClose));
  ShowText();
}

void FilterExportDlg::ShowFor(int channel) {
  m_channel = channel;
  ApplyLanguage();
  open();
}

void FilterExportDlg::SetFormat(ExchangeFormat format) {
  for (std::size_t i = 0; i < kFormats.size(); ++i) {
    if (kFormats[i] == format) m_formats->setCurrentIndex(static_cast<int>(i));
  }
}

ExchangeFormat FilterExportDlg::Format() const {
  const int i = std::max(0, m_formats->currentIndex());
  return kFormats[static_cast<std::size_t>(i)];
}

// The text as it will be written, and what it leaves out, in the language of the moment.
void FilterExportDlg::ShowText() {
  setWindowTitle(Q(FormatText(Tr(TextId::ExportTitle, m_host.Chinese()),
                              {{"channel", ChannelLabel(m_channel)}})));
  const ExportResult result = ExportFilters(m_host.Data().Output(m_channel), Format());
  m_preview->setPlainText(Q(result.text));
  QStringList notes;
  if (result.filters == 0) notes << m_host.Text(TextId::ExportNoFilters);
  for (TextId note : result.notes) notes << m_host.Text(note);
  m_notes->setText(notes.join(QLatin1Char('\n')));
  m_notes->setVisible(!notes.isEmpty());
}

void FilterExportDlg::Save() {
  const bool yaml = Format() == ExchangeFormat::kCamillaDsp;
  const QString filters =
      m_host.Text(yaml ? TextId::ExchangeFileFilterYaml : TextId::ExchangeFileFilterText) +
      QStringLiteral(";;") + m_host.Text(TextId::ExchangeFileFilterAll);
  const QString suggested = QDir(m_folder).filePath(Q(ExportFileName(m_channel, Format())));
  const QString path = m_chooser(suggested, filters);
  if (path.isEmpty()) return;
  if (SaveTo(path)) accept();
}

bool FilterExportDlg::SaveTo(const QString& path) {
  const ExportResult result = ExportFilters(m_host.Data().Output(m_channel), Format());
  const std::filesystem::path file = path.toStdString();
  const FileResult written = WriteFilterFile(file, result.text);
  if (!written.Ok()) {
    m_host.Message(Q(DescribeFileFailure(file, written, m_host.Chinese())));
    return false;
  }
  m_folder = QFileInfo(path).absolutePath();
  return true;
}

}  // namespace vantor
