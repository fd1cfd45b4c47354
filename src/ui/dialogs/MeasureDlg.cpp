#include "ui/dialogs/MeasureDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <cmath>
#include <initializer_list>

#include "history/EditHistory.h"
#include "measure/AutoEq.h"
#include "measure/MeasureSession.h"
#include "model/ChannelTable.h"
#include "model/KTV_Data.h"
#include "text/TextCatalog.h"
#include "tuning/ChannelSelection.h"
#include "ui/QtText.h"
#include "ui/panels/PanelHost.h"

namespace vantor {
namespace {

constexpr int kWidth = 470;
// The level shift a person may give a measurement, in dB, and its step.
constexpr double kShiftLimitDb = 40.0;
constexpr double kShiftStepDb = 0.5;
constexpr int kBandCount = 31;
constexpr int kSpinWidth = 96;

std::filesystem::path PathOf(const QString& path) {
  return std::filesystem::path(path.toStdU16String());
}

QString Number(double v, int decimals) {
  // Numbers are shown the same whatever the locale.
  return QString::number(v, 'f', decimals);
}

void UseCLocale(QWidget* w) { w->setLocale(QLocale::c()); }

}  // namespace

MeasureDlg::MeasureDlg(PanelHost& host, MeasureSession& session, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_host(host),
      m_session(session) {
  setObjectName(QStringLiteral("measureDialog"));
  setFixedWidth(kWidth);

  m_title = new QLabel(this);
  QFont bold = m_title->font();
  bold.setBold(true);
  m_title->setFont(bold);
  m_source = new QLabel(this);
  m_source->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_import = new QPushButton(this);
  m_remove = new QPushButton(this);
  m_shiftCaption = new QLabel(this);
  m_shift = new QDoubleSpinBox(this);
  UseCLocale(m_shift);
  m_shift->setRange(-kShiftLimitDb, kShiftLimitDb);
  m_shift->setSingleStep(kShiftStepDb);
  m_shift->setDecimals(1);
  m_shift->setSuffix(QStringLiteral(" dB"));
  m_layersCaption = new QLabel(this);
  for (QCheckBox*& box : m_layerBoxes) box = new QCheckBox(this);
  m_targetCaption = new QLabel(this);
  m_target = new QComboBox(this);
  m_loadCurve = new QPushButton(this);

  m_autoCaption = new QLabel(this);
  m_autoCaption->setFont(bold);
  m_passband = new QCheckBox(this);
  m_passband->setChecked(true);
  m_fromCaption = new QLabel(this);
  m_toCaption = new QLabel(this);
  for (QSpinBox** spin : {&m_from, &m_to}) {
    *spin = new QSpinBox(this);
    UseCLocale(*spin);
    (*spin)->setRange(static_cast<int>(kFitLowestHz), static_cast<int>(kFitHighestHz));
    (*spin)->setSuffix(QStringLiteral(" Hz"));
  }
  m_boostCaption = new QLabel(this);
  m_boost = new QDoubleSpinBox(this);
  UseCLocale(m_boost);
  m_boost->setRange(0.0, 20.0);
  m_boost->setSingleStep(kShiftStepDb);
  m_boost->setDecimals(1);
  m_boost->setSuffix(QStringLiteral(" dB"));
  m_boost->setValue(kDefaultMaxBoostDb);
  m_bandsCaption = new QLabel(this);
  m_bands = new QSpinBox(this);
  UseCLocale(m_bands);
  m_bands->setRange(1, kBandCount);
  m_bands->setValue(kBandCount);
  m_preview = new QPushButton(this);
  m_apply = new QPushButton(this);
  m_discard = new QPushButton(this);
  m_result = new QLabel(this);
  m_result->setWordWrap(true);
  m_result->setMinimumHeight(34);

  for (QAbstractSpinBox* spin :
       std::initializer_list<QAbstractSpinBox*>{m_shift, m_from, m_to, m_boost}) {
    spin->setFixedWidth(kSpinWidth);
  }
  m_bands->setFixedWidth(kSpinWidth * 2 / 3);
  m_target->setMinimumWidth(kSpinWidth * 2);

  // Captions on the left, each row's controls from the left on the right.
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(12, 10, 12, 10);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(6);
  int row = 0;
  auto line = [&](QWidget* caption, std::initializer_list<QWidget*> widgets) {
    auto* box = new QHBoxLayout;
    box->setSpacing(6);
    for (QWidget* w : widgets) box->addWidget(w);
    box->addStretch();
    if (caption != nullptr) {
      grid->addWidget(caption, row, 0);
      grid->addLayout(box, row++, 1);
    } else {
      grid->addLayout(box, row++, 0, 1, 2);
    }
  };
  grid->addWidget(m_title, row++, 0, 1, 2);
  line(nullptr, {m_source, m_import, m_remove});
  line(m_shiftCaption, {m_shift});
  line(m_layersCaption, {m_layerBoxes[0], m_layerBoxes[1], m_layerBoxes[2]});
  line(m_targetCaption, {m_target, m_loadCurve});
  grid->addWidget(m_autoCaption, row++, 0, 1, 2);
  line(m_passband, {m_fromCaption, m_from, m_toCaption, m_to});
  line(m_boostCaption, {m_boost, m_bandsCaption, m_bands});
  line(nullptr, {m_preview, m_apply, m_discard});
  grid->addWidget(m_result, row++, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  m_source->setMinimumWidth(kSpinWidth * 2);

  connect(m_import, &QPushButton::clicked, this, &MeasureDlg::ChooseMeasurement);
  connect(m_remove, &QPushButton::clicked, this, &MeasureDlg::Remove);
  connect(m_shift, &QDoubleSpinBox::valueChanged, this, &MeasureDlg::OnShift);
  for (QCheckBox* box : m_layerBoxes)
    connect(box, &QCheckBox::toggled, this, &MeasureDlg::OnLayers);
  connect(m_target, &QComboBox::activated, this, &MeasureDlg::OnTarget);
  connect(m_loadCurve, &QPushButton::clicked, this, &MeasureDlg::ChooseHouseCurve);
  connect(m_passband, &QCheckBox::toggled, this, &MeasureDlg::OnPassband);
  connect(m_preview, &QPushButton::clicked, this, [this] { Preview(); });
  connect(m_apply, &QPushButton::clicked, this, &MeasureDlg::Apply);
  connect(m_discard, &QPushButton::clicked, this, &MeasureDlg::Discard);

  const TargetCurve& target = m_session.Controller().Target();
  if (target.kind == TargetKind::kFile) m_house = target;
  ApplyLanguage();
}

int MeasureDlg::Current() const { return m_host.Selection().Current(); }

QCheckBox& MeasureDlg::LayerBox(LayerKind kind) {
  const auto i = static_cast<std::size_t>(kind);
  return *m_layerBoxes[i < 3 ? i : 0];
}

void MeasureDlg::ApplyLanguage() {
  setWindowTitle(m_host.Text(TextId::MeasureTitle));
  m_import->setText(m_host.Text(TextId::MeasureImport));
  m_remove->setText(m_host.Text(TextId::MeasureRemove));
  m_shiftCaption->setText(m_host.Text(TextId::MeasureShift));
  m_layersCaption->setText(m_host.Text(TextId::MeasureLayers));
  m_layerBoxes[0]->setText(m_host.Text(TextId::LayerMeasurement));
  m_layerBoxes[1]->setText(m_host.Text(TextId::LayerPrediction));
  m_layerBoxes[2]->setText(m_host.Text(TextId::LayerTarget));
  m_targetCaption->setText(m_host.Text(TextId::MeasureTargetCaption));
  m_loadCurve->setText(m_host.Text(TextId::MeasureLoadHouseCurve));
  m_autoCaption->setText(m_host.Text(TextId::AutoEqCaption));
  m_passband->setText(m_host.Text(TextId::AutoEqPassband));
  m_fromCaption->setText(m_host.Text(TextId::AutoEqFrom));
  m_toCaption->setText(m_host.Text(TextId::AutoEqTo));
  m_boostCaption->setText(m_host.Text(TextId::AutoEqMaxBoost));
  m_bandsCaption->setText(m_host.Text(TextId::AutoEqBands));
  m_preview->setText(m_host.Text(TextId::AutoEqPreviewButton));
  m_apply->setText(m_host.Text(TextId::AutoEqApply));
  m_discard->setText(m_host.Text(TextId::AutoEqDiscard));
  Refresh();
}

void MeasureDlg::Refresh() {
  const int o = Current();
  const CKTV_Data& data = m_host.Data();
  QString title = QString::fromStdString(ChannelLabel(o));
  const int type = data.SpeakerType(o);
  if (type != 0) title += QStringLiteral("  ·  ") + Q(SpeakerTypeName(type));
  m_title->setText(title);

  const Measurement* m = m_session.Controller().MeasurementOf(o);
  m_source->setText(m != nullptr ? QString::fromStdString(m->source)
                                 : m_host.Text(TextId::MeasureNone));
  {
    const QSignalBlocker block(m_shift);
    m_shift->setValue(m != nullptr ? m->shiftDb : 0.0);
  }
  m_remove->setEnabled(m != nullptr);
  m_shift->setEnabled(m != nullptr);
  m_preview->setEnabled(m != nullptr);

  const LayerSwitches& s = m_session.Switches();
  const bool on[3] = {s.measurement, s.prediction, s.target};
  for (int i = 0; i < 3; ++i) {
    const QSignalBlocker block(m_layerBoxes[i]);
    m_layerBoxes[i]->setChecked(on[i]);
  }
  FillTargets();

  const int bandCount = data.Output(o).Filters().BandCount();
  {
    const QSignalBlocker block(m_bands);
    const bool all = m_bands->value() == m_bands->maximum();
    m_bands->setRange(1, bandCount);
    if (all) m_bands->setValue(bandCount);
  }
  ShowRange();
  ShowResult();
}

void MeasureDlg::FillTargets() {
  const QSignalBlocker block(m_target);
  m_target->clear();
  m_target->addItem(Q(TargetName(FlatTarget(), m_host.Chinese())));
  m_target->addItem(Q(TargetName(CarTarget(), m_host.Chinese())));
  if (m_house) {
    m_target->addItem(m_host.Text(TextId::TargetHouseCurve) + QStringLiteral(": ") +
                      QString::fromStdString(m_house->name));
  }
  switch (m_session.Controller().Target().kind) {
    case TargetKind::kFlat:
      m_target->setCurrentIndex(0);
      break;
    case TargetKind::kCar:
      m_target->setCurrentIndex(1);
      break;
    case TargetKind::kFile:
      m_target->setCurrentIndex(m_target->count() - 1);
      break;
  }
}

// The range follows the current output's crossovers while the passband is chosen.
void MeasureDlg::ShowRange() {
  const bool passband = m_passband->isChecked();
  m_from->setEnabled(!passband);
  m_to->setEnabled(!passband);
  if (!passband) return;
  const auto [from, to] = DefaultFitRange(m_host.Data().Output(Current()).Filters());
  m_from->setValue(static_cast<int>(std::lround(from)));
  m_to->setValue(static_cast<int>(std::lround(to)));
}

void MeasureDlg::ShowResult() {
  const AutoEqPreview* p = m_session.PreviewOf(Current());
  m_apply->setEnabled(p != nullptr);
  m_discard->setEnabled(p != nullptr);
  if (p == nullptr) {
    m_result->setText(m_host.Text(TextId::AutoEqNoPreview));
    return;
  }
  QString text = m_host.Text(TextId::AutoEqResult);
  text.replace(QStringLiteral("{before}"), Number(p->rmsBeforeDb, 2));
  text.replace(QStringLiteral("{after}"), Number(p->rmsAfterDb, 2));
  text.replace(QStringLiteral("{from}"),
               Number(kResponseGrid[static_cast<std::size_t>(p->firstIndex)], 0));
  text.replace(QStringLiteral("{to}"),
               Number(kResponseGrid[static_cast<std::size_t>(p->lastIndex)], 0));
  m_result->setText(text);
}

void MeasureDlg::Changed() {
  Refresh();
  emit measurementsChanged();
}

QString MeasureDlg::ErrorText(TextId prefix, const QString& path, const MeasureError& error) {
  QString text = m_host.Text(prefix);
  text.replace(QStringLiteral("{file}"), QFileInfo(path).fileName());
  return text + Q(MeasureErrorText(error, m_host.Chinese()));
}

// ---------------------------------------------------------------------------------------
// Measurement and target

void MeasureDlg::ChooseMeasurement() {
  const QString path = QFileDialog::getOpenFileName(
      this, m_host.Text(TextId::MeasureImport), QString(), m_host.Text(TextId::MeasureFileFilter));
  if (!path.isEmpty()) ImportFile(path);
}

bool MeasureDlg::ImportFile(const QString& path) {
  MeasureError error;
  if (!m_session.Import(Current(), PathOf(path), error)) {
    m_host.Message(ErrorText(TextId::MeasureImportFailed, path, error));
    return false;
  }
  Changed();
  return true;
}

void MeasureDlg::Remove() {
  m_session.Clear(Current());
  Changed();
}

void MeasureDlg::OnShift(double db) {
  m_session.SetShift(Current(), db);
  Changed();
}

void MeasureDlg::OnLayers() {
  LayerSwitches s;
  s.measurement = m_layerBoxes[0]->isChecked();
  s.prediction = m_layerBoxes[1]->isChecked();
  s.target = m_layerBoxes[2]->isChecked();
  m_session.SetSwitches(s);
  Changed();
}

void MeasureDlg::OnTarget(int index) {
  if (index == 0) {
    m_session.SetTarget(FlatTarget());
  } else if (index == 1) {
    m_session.SetTarget(CarTarget());
  } else if (m_house) {
    m_session.SetTarget(*m_house);
  }
  Changed();
}

void MeasureDlg::ChooseHouseCurve() {
  const QString path =
      QFileDialog::getOpenFileName(this, m_host.Text(TextId::MeasureLoadHouseCurve), QString(),
                                   m_host.Text(TextId::HouseCurveFileFilter));
  if (!path.isEmpty()) LoadHouseCurveFile(path);
}

bool MeasureDlg::LoadHouseCurveFile(const QString& path) {
  MeasureError error;
  if (!m_session.ImportTarget(PathOf(path), error)) {
    m_host.Message(ErrorText(TextId::MeasureImportFailed, path, error));
    return false;
  }
  m_house = m_session.Controller().Target();
  Changed();
  return true;
}

// ---------------------------------------------------------------------------------------
// Automatic EQ

void MeasureDlg::OnPassband() { ShowRange(); }

bool MeasureDlg::Preview() {
  AutoEqOptions options;
  if (m_bands->value() < m_bands->maximum()) options.bands = m_bands->value();
  if (!m_passband->isChecked()) {
    options.fromHz = std::min(m_from->value(), m_to->value());
    options.toHz = std::max(m_from->value(), m_to->value());
  }
  options.maxBoostDb = m_boost->value();
  MeasureError error;
  // A fit takes a fraction of a second; the pointer says so meanwhile.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool ok = m_session.Preview(Current(), options, error);
  QApplication::restoreOverrideCursor();
  if (!ok) {
    m_host.Message(Q(MeasureErrorText(error, m_host.Chinese())));
    return false;
  }
  Changed();
  return true;
}

void MeasureDlg::Apply() {
  const int o = Current();
  if (m_session.PreviewOf(o) == nullptr) return;
  {
    EditStep step(m_host.History(), TextId::StepAutoEq);
    m_session.Apply(o);
  }
  Changed();
  emit bandsApplied();
}

void MeasureDlg::Discard() {
  m_session.Discard();
  Changed();
}

}  // namespace vantor
