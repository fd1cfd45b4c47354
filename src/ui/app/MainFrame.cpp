#include "ui/app/MainFrame.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QRegion>
#include <QScreen>

#include "text/TextCatalog.h"
#include "ui/app/FormLayout.h"
#include "ui/app/VantorView.h"

namespace vantor {

CMainFrame::CMainFrame(CVantorDoc& doc) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
  setWindowTitle(
      QString::fromUtf8(kApplicationTitle.data(), static_cast<int>(kApplicationTitle.size())));
  setFixedSize(form::kFormSize);
  m_view = new CVantorView(doc, this);
  m_view->setGeometry(QRect(QPoint(0, 0), form::kFormSize));
  connect(m_view, &CVantorView::minimiseRequested, this, &QWidget::showMinimized);
  connect(m_view, &CVantorView::closeRequested, this, &QWidget::close);
  connect(qApp, &QGuiApplication::primaryScreenChanged, this, [this](QScreen*) {
    WatchScreen();
    OnDisplayChanged();
  });
  WatchScreen();
}

void CMainFrame::WatchScreen() {
  QScreen* s = screen();
  if (s == m_watched || s == nullptr) return;
  if (m_watched != nullptr) disconnect(m_watched, nullptr, this, nullptr);
  m_watched = s;
  connect(s, &QScreen::geometryChanged, this, &CMainFrame::OnDisplayChanged);
}

void CMainFrame::CentreOnScreen() {
  const QScreen* s = screen();
  if (s == nullptr) return;
  const QRect area = s->geometry();
  move(area.left() + (area.width() - form::kFormSize.width()) / 2,
       area.top() + (area.height() - form::kFormSize.height()) / 2);
}

void CMainFrame::OnDisplayChanged() {
  setGeometry(QRect(QPoint(0, 0), form::kFormSize));
  show();
}

void CMainFrame::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  WatchScreen();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  setMask(QRegion(rect().adjusted(kMaskInset, kMaskInset, -kMaskInset, -kMaskInset)));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  m_view->Shutdown();
  event->accept();
}

}  // namespace vantor
