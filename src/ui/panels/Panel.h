#pragma once
// A panel of the main form: a widget that builds, places, labels and handles its own
// controls. The form knows panels only through this face: reload from the model, relabel
// for the language, hear device events and the graph's edits. Panels that show the current
// output listen to the host's channel selection themselves.

#include <QWidget>

#include "link/DeviceEvents.h"
#include "ui/panels/PanelHost.h"

namespace vantor {

class Panel : public QWidget {
  Q_OBJECT

 public:
  Panel(PanelHost& host, QWidget* parent);

  // Shows the model's values (RefreshAll: after a read-back, a preset recall, a speaker-type
  // change).
  virtual void Refresh() = 0;
  // Relabels every control and list for the language flag.
  virtual void ApplyLanguage() = 0;
  // Every device event after the connection has handled it.
  virtual void OnDeviceEvent(const DeviceEventMessage& /*message*/) {}
  // An element of the current output was changed on the graph: band 0..30, high-pass 31,
  // low-pass 32.
  virtual void OnGraphEdited(int /*element*/) {}
  // Another panel changed values of the outputs that this one may show too (a gain, a
  // crossover, a whole EQ): show them again.
  virtual void OnOutputsEdited() {}
  // The model changed outside the panels (an undo or redo, a filter import): show whatever
  // it may have changed; linking stays. By default what OnOutputsEdited shows.
  virtual void OnModelEdited() { OnOutputsEdited(); }

 protected:
  PanelHost& Host() { return m_host; }
  QString Text(TextId id) { return m_host.Text(id); }
  // The rounded body every panel is drawn on.
  void PaintBody(QPainter& p) const;

 private:
  PanelHost& m_host;
};

}  // namespace vantor
