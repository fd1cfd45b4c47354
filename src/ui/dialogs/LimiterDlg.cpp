#include "ui/dialogs/LimiterDlg.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "history/EditHistory.h"
#include "model/ChannelTable.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "text/TextFormat.h"
#include "ui/QtText.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/controls/Skin.h"
#include "ui/controls/xSkinButton.h"
#include "ui/panels/GestureStep.h"
#include "ui/panels/PanelHost.h"

namespace vantor {
namespace {

constexpr int kSources = static_cast<int>(rec::kMixerSources);

// The matrix: a caption column for the outputs, then one 72-pixel column per source; rows
// on a 58-pixel pitch. In a cell the slider stands at the left, the edit and its spin
// beside it, centred.
constexpr int kMargin = 12;
constexpr int kRowCaptionWidth = 96;
constexpr int kCellWidth = 72;
constexpr int kRowPitch = 58;
constexpr int kMatrixCaptionTop = 34;
constexpr int kHeaderTop = 54;
constexpr int kHeaderHeight = 18;
constexpr int kRowsTop = kHeaderTop + kHeaderHeight + 2;
constexpr int kSliderWidth = 18;
constexpr int kSliderHeight = 54;
constexpr int kEditLeft = 24;
constexpr int kEditWidth = 32;
constexpr int kFieldHeight = 20;
constexpr int kSpinWidth = 12;
constexpr int kMatrixWidth = kRowCaptionWidth + kSources * kCellWidth;
constexpr int kRowsBottom = kRowsTop + rec::kOutputCount * kRowPitch;
// The limiter block under the matrix.
constexpr int kLimiterTop = kRowsBottom + 14;
constexpr int kLimiterCaptionWidth = 130;
constexpr int kFieldCaptionWidth = 66;
constexpr int kLimiterEditWidth = 36;
constexpr int kReleaseListWidth = 96;
constexpr int kWidth = 2 * kMargin + kMatrixWidth;
constexpr int kHeight = kLimiterTop + kFieldHeight + 16;
constexpr int kCloseSize = 26;

int ColumnX(int source) { return kMargin + kRowCaptionWidth + source * kCellWidth; }
int RowY(int output) { return kRowsTop + output * kRowPitch; }
int FieldLeft(int field) {
  return kMargin + kLimiterCaptionWidth +
         field * (kFieldCaptionWidth + kLimiterEditWidth + kSpinWidth + 28);
}

}  // namespace

LimiterDlg::LimiterDlg(PanelHost& host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), m_host(host), m_editor(host.Data()) {
  setAttribute(Qt::WA_DeleteOnClose);
  setFocusPolicy(Qt::StrongFocus);
  setFixedSize(kWidth, kHeight);
  setFont(skin::Font2());
  m_gesture = new GestureStep([this]() -> EditHistory& { return m_host.History(); }, this);

  for (int a = 0; a < kRoutingCellCount; ++a) BuildCell(a);
  for (int f = 0; f < kLimiterFieldCount; ++f) BuildLimiterField(f, FieldLeft(f));
  m_release = new ComBoxBtn(0, this);
  const Field& release = m_limiter[kLimiterReleaseField];
  m_release->setGeometry(release.spin->geometry().right() + 6, kLimiterTop, kReleaseListWidth,
                         kFieldHeight);
  QStringList entries;
  for (std::string_view e : LimiterReleaseEntries()) entries << Q(e);
  m_release->SetItems(entries);
  connect(m_release, &DropSelector::selectionChanged, this,
          [this](int /*id*/, int index) { OnReleaseChosen(index); });

  m_close = new xSkinButton(kCloseId, xSkinButton::Glyph::kClose, {}, this);
  m_close->setGeometry(kWidth - kMargin - kCloseSize, 2, kCloseSize, kCloseSize);
  connect(m_close, &QAbstractButton::clicked, this, &QWidget::close);

  ApplyLanguage();
  Refresh();
}

LimiterDlg::~LimiterDlg() = default;

void LimiterDlg::SetUpSpin(CNumSpin* spin) {
  spin->SetLanguage(&m_host.State().chinese);
  spin->SetMessageHandler([this](const QString& text) { m_host.Message(text); });
}

void LimiterDlg::BuildCell(int index) {
  const RoutingCell rc = RoutingCellAt(index);
  Cell& c = m_cells[static_cast<std::size_t>(index)];
  const int x = ColumnX(rc.source);
  const int y = RowY(rc.output);

  c.slider = new BitmapSlider(kSliderBaseId + index, Qt::Vertical, this);
  c.slider->setGeometry(x + 3, y + 2, kSliderWidth, kSliderHeight);
  c.slider->SetRange(0, kMixerLevelMax);
  c.slider->SetDirect(false);  // the maximum at the top
  c.slider->SetPage(10);

  c.edit = new CNumEdit(kEditBaseId + index, this);
  c.edit->setGeometry(x + kEditLeft, y + (kSliderHeight - kFieldHeight) / 2 + 2, kEditWidth,
                      kFieldHeight);
  c.edit->SetScale(1.0);
  c.edit->SetMode(kEditMixerLevel);
  c.edit->setMaxLength(6);
  c.spin = new CNumSpin(kSpinBaseId + index, this);
  c.spin->setGeometry(c.edit->geometry().right() + 1, c.edit->y(), kSpinWidth, kFieldHeight);
  c.spin->SetBuddy(c.edit);
  c.spin->SetRange32(0, kMixerLevelMax);
  SetUpSpin(c.spin);
  c.slider->AttachEdit(c.edit);
  c.edit->installEventFilter(this);

  m_gesture->Watch(c.slider, TextId::StepMixer);
  m_gesture->Watch(c.spin, TextId::StepMixer);
  connect(c.edit, &CNumEdit::changeNotice, this, [this, index] { OnLevelEdited(index); });
  connect(c.spin, &CNumSpin::changeNotice, this, [this, index] { OnLevelEdited(index); });
  connect(c.slider, &BitmapSlider::moving, this, [this, index] { OnLevelSlider(index); });
  connect(c.slider, &BitmapSlider::moved, this, [this, index] { OnLevelSlider(index); });
}

void LimiterDlg::BuildLimiterField(int field, int left) {
  const EditScale scale = LimiterFieldScale(field);
  Field& f = m_limiter[static_cast<std::size_t>(field)];
  f.edit = new CNumEdit(kLimiterEditIds[static_cast<std::size_t>(field)], this);
  f.edit->setGeometry(left + kFieldCaptionWidth, kLimiterTop, kLimiterEditWidth, kFieldHeight);
  f.edit->SetOffset(scale.offset);
  f.edit->SetMode(scale.mode);
  f.edit->setMaxLength(7);
  f.spin = new CNumSpin(kLimiterSpinIds[static_cast<std::size_t>(field)], this);
  f.spin->setGeometry(f.edit->geometry().right() + 1, kLimiterTop, kSpinWidth, kFieldHeight);
  f.spin->SetBuddy(f.edit);
  f.spin->SetRange32(scale.minimum, scale.maximum);
  SetUpSpin(f.spin);
  m_gesture->Watch(f.spin, TextId::StepLimiter);
  connect(f.edit, &CNumEdit::changeNotice, this, [this, field] { OnLimiterField(field); });
  connect(f.spin, &CNumSpin::changeNotice, this, [this, field] { OnLimiterField(field); });
}

// ---------------------------------------------------------------------------------------
// Reloading and the language

void LimiterDlg::Refresh() {
  for (int a = 0; a < kRoutingCellCount; ++a) ShowLevel(a, m_editor.Level(RoutingCellAt(a)));
  for (int f = 0; f < kLimiterFieldCount; ++f) {
    // A value from the device beyond the field's range is shown at its end, not refused.
    const int value = std::clamp(m_editor.LimiterValue(f), 0, LimiterFieldOf(f).maximum);
    LimiterSpin(f).SetValue(value);
  }
  m_release->SetSelection(m_editor.ReleaseEntry());
  for (int o = 0; o < rec::kOutputCount; ++o) {
    m_outputs[static_cast<std::size_t>(o)] = QString::fromStdString(ChannelLabel(o)) +
                                             QLatin1Char('\n') +
                                             Q(SpeakerTypeName(m_host.Data().SpeakerType(o)));
  }
  update();
}

void LimiterDlg::ShowLevel(int index, int level) {
  Cell& c = m_cells[static_cast<std::size_t>(index)];
  const int shown = std::clamp(level, 0, kMixerLevelMax);
  c.spin->SetValue(shown);
  c.slider->SetPos(shown);
}

void LimiterDlg::ApplyLanguage() {
  m_title = m_host.Text(TextId::LimiterRoutingButton);
  m_matrixCaption = m_host.Text(TextId::RoutingMatrixCaption);
  m_outputsCaption = m_host.Text(TextId::RoutingOutputsCaption);
  m_limiterCaption = m_host.Text(TextId::LimiterBlockCaption);
  m_fieldCaptions = {m_host.Text(TextId::LimiterBlockValue1),
                     m_host.Text(TextId::LimiterBlockValue2),
                     m_host.Text(TextId::LimiterBlockRelease)};
  const std::string pattern(Tr(TextId::RoutingSource, m_host.Chinese()));
  for (int s = 0; s < kSources; ++s) {
    m_sources[static_cast<std::size_t>(s)] =
        QString::fromStdString(FormatText(pattern, {{"n", std::to_string(s + 1)}}));
  }
  m_close->setToolTip(m_host.Text(TextId::DialogClose));
  setWindowTitle(m_title);
  update();
}

QString LimiterDlg::SourceCaption(int source) const {
  return m_sources[static_cast<std::size_t>(source)];
}

QString LimiterDlg::OutputCaption(int output) const {
  return m_outputs[static_cast<std::size_t>(output)];
}

QList<CNumEdit*> LimiterDlg::NumericEdits() const {
  QList<CNumEdit*> edits;
  for (const Cell& c : m_cells) edits << c.edit;
  for (const Field& f : m_limiter) edits << f.edit;
  return edits;
}

// ---------------------------------------------------------------------------------------
// Edits

void LimiterDlg::OnLevelEdited(int index) {
  Cell& c = m_cells[static_cast<std::size_t>(index)];
  const int level = c.spin->GetValue();
  c.slider->SetPos(level);
  OnLevelSlider(index);
}

// The row update: the slider's level goes to its output with the rest of the row.
void LimiterDlg::OnLevelSlider(int index) {
  Cell& c = m_cells[static_cast<std::size_t>(index)];
  const int level = c.slider->GetPos();
  c.spin->SetValue(level);
  EditStep step(m_host.History(), TextId::StepMixer);
  m_editor.SetLevel(RoutingCellAt(index), level);
}

void LimiterDlg::OnLimiterField(int field) {
  CNumSpin& spin = LimiterSpin(field);
  const int value = spin.GetValue();
  spin.SetValue(value);
  {
    EditStep step(m_host.History(), TextId::StepLimiter);
    m_editor.SetLimiterValue(m_host.Commands(), field, value);
  }
  if (field == kLimiterReleaseField) m_release->SetSelection(m_editor.ReleaseEntry());
}

void LimiterDlg::OnReleaseChosen(int entry) {
  {
    EditStep step(m_host.History(), TextId::StepLimiter);
    m_editor.ChooseReleaseEntry(m_host.Commands(), entry);
  }
  LimiterSpin(kLimiterReleaseField).SetValue(m_editor.LimiterValue(kLimiterReleaseField));
}

// Enter in a level edit: on to the next one (the edit that loses the focus commits).
bool LimiterDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  auto* edit = qobject_cast<CNumEdit*>(watched);
  if (edit == nullptr) return false;
  const int index = edit->Id() - kEditBaseId;
  if (index < 0 || index >= kRoutingCellCount) return false;
  m_cells[static_cast<std::size_t>(NextRoutingIndex(index))].edit->setFocus(Qt::TabFocusReason);
  return true;
}

// ---------------------------------------------------------------------------------------
// Moving and drawing

void LimiterDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || event->position().y() >= kDragHeight) return;
  m_dragging = true;
  m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void LimiterDlg::mouseMoveEvent(QMouseEvent* event) {
  if (m_dragging) move(event->globalPosition().toPoint() - m_dragOffset);
}

void LimiterDlg::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_dragging = false;
}

void LimiterDlg::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.fillRect(rect(), skin::FormBackground());
  // The drag band with the title.
  QLinearGradient bar(0, 0, 0, kDragHeight);
  bar.setColorAt(0.0, QColor(0xF2, 0xF3, 0xF8));
  bar.setColorAt(1.0, QColor(0xD9, 0xDC, 0xE8));
  p.fillRect(QRect(0, 0, width(), kDragHeight), bar);
  p.setPen(skin::Border());
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.drawLine(0, kDragHeight, width(), kDragHeight);
  p.setPen(skin::Text());
  p.setFont(skin::Font3());
  p.drawText(QRect(kMargin, 0, width() - 2 * kMargin, kDragHeight),
             Qt::AlignVCenter | Qt::AlignLeft, m_title);

  p.setFont(skin::Font2());
  p.drawText(QRect(kMargin, kMatrixCaptionTop, kMatrixWidth, kHeaderHeight),
             Qt::AlignVCenter | Qt::AlignLeft, m_matrixCaption);

  // Rows in alternating shades, columns separated by a faint rule.
  for (int o = 0; o < rec::kOutputCount; ++o) {
    const QRect row(kMargin, RowY(o), kMatrixWidth, kRowPitch);
    p.fillRect(row, o % 2 == 0 ? QColor(0xEC, 0xEE, 0xF5) : QColor(0xE3, 0xE6, 0xEF));
    p.setPen(skin::Text());
    p.drawText(row.adjusted(6, 0, -(kMatrixWidth - kRowCaptionWidth), 0),
               Qt::AlignVCenter | Qt::AlignLeft, m_outputs[static_cast<std::size_t>(o)]);
  }
  p.setPen(QColor(0xC6, 0xCA, 0xD8));
  for (int s = 0; s <= kSources; ++s) {
    p.drawLine(ColumnX(s), kHeaderTop, ColumnX(s), kRowsBottom);
  }
  p.setPen(skin::Text());
  p.drawText(QRect(kMargin + 6, kHeaderTop, kRowCaptionWidth - 6, kHeaderHeight),
             Qt::AlignVCenter | Qt::AlignLeft, m_outputsCaption);
  for (int s = 0; s < kSources; ++s) {
    p.drawText(QRect(ColumnX(s), kHeaderTop, kCellWidth, kHeaderHeight), Qt::AlignCenter,
               m_sources[static_cast<std::size_t>(s)]);
  }

  // The limiter block.
  p.setPen(QColor(0xC6, 0xCA, 0xD8));
  p.drawLine(kMargin, kLimiterTop - 7, kMargin + kMatrixWidth, kLimiterTop - 7);
  p.setPen(skin::Text());
  p.drawText(QRect(kMargin, kLimiterTop, kLimiterCaptionWidth, kFieldHeight),
             Qt::AlignVCenter | Qt::AlignLeft, m_limiterCaption);
  for (int f = 0; f < kLimiterFieldCount; ++f) {
    p.drawText(QRect(FieldLeft(f), kLimiterTop, kFieldCaptionWidth - 6, kFieldHeight),
               Qt::AlignVCenter | Qt::AlignRight, m_fieldCaptions[static_cast<std::size_t>(f)]);
  }
}

}  // namespace vantor
