#include "ui/dialogs/AlignDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "history/EditHistory.h"
#include "model/ChannelTable.h"
#include "model/KTV_Data.h"
#include "model/ValueScales.h"
#include "text/TextCatalog.h"
#include "ui/QtText.h"
#include "ui/panels/PanelHost.h"

namespace vantor {
namespace {

constexpr int kWidth = 430;

QString DelayText(int code) {
  return QString::number(DelayMs(code), 'f', 3) + QStringLiteral(" ms");
}

}  // namespace

AlignDlg::AlignDlg(PanelHost& host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_host(host) {
  setObjectName(QStringLiteral("alignDialog"));
  setFixedWidth(kWidth);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(12, 10, 12, 10);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(4);
  int row = 0;
  m_hint = new QLabel(this);
  m_hint->setWordWrap(true);
  grid->addWidget(m_hint, row++, 0, 1, 4);
  for (int c = 0; c < 4; ++c) {
    m_headers[c] = new QLabel(this);
    QFont bold = m_headers[c]->font();
    bold.setBold(true);
    m_headers[c]->setFont(bold);
    grid->addWidget(m_headers[c], row, c);
  }
  ++row;
  for (Row& r : m_rows) {
    r.name = new QLabel(this);
    r.distance = new QLineEdit(this);
    r.distance->setMaximumWidth(90);
    r.now = new QLabel(this);
    r.next = new QLabel(this);
    grid->addWidget(r.name, row, 0);
    grid->addWidget(r.distance, row, 1);
    grid->addWidget(r.now, row, 2);
    grid->addWidget(r.next, row, 3);
    connect(r.distance, &QLineEdit::textChanged, this, &AlignDlg::ShowPreview);
    ++row;
  }
  auto* units = new QHBoxLayout;
  m_cm = new QRadioButton(this);
  m_inch = new QRadioButton(this);
  m_cm->setChecked(true);
  units->addWidget(m_cm);
  units->addWidget(m_inch);
  units->addStretch();
  grid->addLayout(units, row++, 1, 1, 3);
  connect(m_cm, &QRadioButton::toggled, this, &AlignDlg::ShowPreview);
  m_error = new QLabel(this);
  m_error->setWordWrap(true);
  m_error->setStyleSheet(QStringLiteral("color: #B03030;"));
  grid->addWidget(m_error, row++, 0, 1, 4);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  m_apply = new QPushButton(this);
  m_close = new QPushButton(this);
  buttons->addWidget(m_apply);
  buttons->addWidget(m_close);
  grid->addLayout(buttons, row++, 0, 1, 4);
  connect(m_apply, &QPushButton::clicked, this, [this] { Apply(); });
  connect(m_close, &QPushButton::clicked, this, &QWidget::close);
  ApplyLanguage();
}

void AlignDlg::ApplyLanguage() {
  setWindowTitle(m_host.Text(TextId::AlignTitle));
  m_hint->setText(m_host.Text(TextId::AlignHint));
  const TextId headers[4] = {TextId::AlignOutput, TextId::AlignDistance, TextId::AlignDelayNow,
                             TextId::AlignDelayNew};
  for (int c = 0; c < 4; ++c) m_headers[c]->setText(m_host.Text(headers[c]));
  m_cm->setText(m_host.Text(TextId::AlignUnitCm));
  m_inch->setText(m_host.Text(TextId::AlignUnitInch));
  m_apply->setText(m_host.Text(TextId::AlignApply));
  m_close->setText(m_host.Text(TextId::AlignClose));
  Refresh();
}

void AlignDlg::Refresh() {
  CKTV_Data& data = m_host.Data();
  for (int o = 0; o < rec::kOutputCount; ++o) {
    Row& r = m_rows[Index(o)];
    QString name = QString::fromStdString(ChannelLabel(o));
    const int type = data.SpeakerType(o);
    if (type != 0) name += QStringLiteral("  ") + Q(SpeakerTypeName(type));
    r.name->setText(name);
    r.now->setText(DelayText(data.Output(o).DelayCode()));
  }
  ShowPreview();
}

void AlignDlg::SetInches(bool inches) { (inches ? m_inch : m_cm)->setChecked(true); }

bool AlignDlg::Inches() const { return m_inch->isChecked(); }

OutputDistances AlignDlg::Distances(int* refused) const {
  OutputDistances metres{};
  *refused = -1;
  const std::string unit = Inches() ? "in" : "cm";
  for (int o = 0; o < rec::kOutputCount; ++o) {
    const QString text = m_rows[Index(o)].distance->text().trimmed();
    if (text.isEmpty()) continue;
    // The number is read without the locale; the unit comes from the unit buttons.
    metres[Index(o)] = ParseDistance(text.toStdString() + unit);
    if (!metres[Index(o)] && *refused < 0) *refused = o;
  }
  return metres;
}

std::optional<AlignmentPreview> AlignDlg::Preview() const {
  int refused = -1;
  const OutputDistances metres = Distances(&refused);
  if (refused >= 0) return std::nullopt;
  if (std::none_of(metres.begin(), metres.end(), [](const auto& m) { return m.has_value(); })) {
    return std::nullopt;
  }
  return AlignFromDistances(metres);
}

void AlignDlg::ShowPreview() {
  int refused = -1;
  const OutputDistances metres = Distances(&refused);
  const std::optional<AlignmentPreview> preview = Preview();
  for (int o = 0; o < rec::kOutputCount; ++o) {
    Row& r = m_rows[Index(o)];
    const bool bad = !r.distance->text().trimmed().isEmpty() && !metres[Index(o)];
    r.distance->setStyleSheet(bad ? QStringLiteral("border: 1px solid #B03030;") : QString());
    QString next;
    if (preview && preview->delayCodes[Index(o)]) {
      next = DelayText(*preview->delayCodes[Index(o)]);
      if (preview->clamped[Index(o)]) next += QStringLiteral(" *");
    }
    r.next->setText(next);
  }
  QString error;
  if (refused >= 0) {
    error = m_host.Text(TextId::AlignBadDistance);
    error.replace(QStringLiteral("{output}"), QString::fromStdString(ChannelLabel(refused)));
  } else if (preview && std::any_of(preview->clamped.begin(), preview->clamped.end(),
                                    [](bool c) { return c; })) {
    error = QStringLiteral("* ") + m_host.Text(TextId::AlignClamped);
  }
  m_error->setText(error);
  m_apply->setEnabled(preview.has_value());
}

bool AlignDlg::Apply() {
  const std::optional<AlignmentPreview> preview = Preview();
  if (!preview) return false;
  {
    EditStep step(m_host.History(), TextId::StepDelay);
    ApplyAlignment(m_host.Data(), *preview);
  }
  Refresh();
  emit delaysApplied();
  return true;
}

}  // namespace vantor
