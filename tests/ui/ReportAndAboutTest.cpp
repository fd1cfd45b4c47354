// The parameter report window (the table in the interface language, printing to PDF, the
// CSV export) and the about box, both opened from the system menu.

#include <QHeaderView>
#include <QPrinter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "UiTestSupport.h"
#include "model/KTV_Data.h"
#include "ui/app/FormDialogs.h"
#include "ui/app/NamedWindows.h"
#include "ui/dialogs/AboutDlg.h"
#include "ui/dialogs/ReportDlg.h"
#include "ui/panels/TopBarPanel.h"

namespace vantor {

using uitest::Form;

namespace {

// The text of the cell in the row named `parameter`, column `column`; empty when there is
// no such row.
QString Cell(QTableWidget& table, const QString& parameter, int column) {
  for (int r = 0; r < table.rowCount(); ++r) {
    if (table.item(r, 0)->text() == parameter) return table.item(r, column)->text();
  }
  return {};
}

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class ReportAndAboutTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Form> form_;
  QTemporaryDir dir_;
  CVantorView& View() { return form_->View(); }

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
  }
  void cleanup() { form_.reset(); }

  void theReportShowsEveryOutputInTheInterfaceLanguage() {
    form_->Data().Output(2).SetGainCode(45);
    View().TopBar().ReportAction().trigger();
    ReportDlg* report = View().Dialogs().Report();
    QVERIFY(report != nullptr && report->isVisible());
    QCOMPARE(report->windowTitle(), QStringLiteral("参数报表"));
    QTableWidget& table = report->Table();
    QCOMPARE(table.columnCount(), 9);
    QCOMPARE(table.horizontalHeaderItem(0)->text(), QStringLiteral("参数"));
    QCOMPARE(table.horizontalHeaderItem(8)->text(), QStringLiteral("CH8"));
    QCOMPARE(table.rowCount(), static_cast<int>(report->Report().rows.size()));
    QCOMPARE(Cell(table, QStringLiteral("增益"), 3), QStringLiteral("-15dB"));
    QCOMPARE(Cell(table, QStringLiteral("增益"), 1), QStringLiteral("0dB"));
    report->accept();
    QTRY_VERIFY(View().Dialogs().Report() == nullptr);

    View().ToggleLanguage();
    ReportDlg& english = View().Dialogs().OpenReport();
    QCOMPARE(english.windowTitle(), QStringLiteral("Parameter report"));
    QCOMPARE(english.Table().horizontalHeaderItem(0)->text(), QStringLiteral("Parameter"));
    QCOMPARE(Cell(english.Table(), QStringLiteral("Gain"), 3), QStringLiteral("-15dB"));
  }

  void theCsvExportIsUtf8WithAByteOrderMark() {
    ReportDlg& report = View().Dialogs().OpenReport();
    const QString path = dir_.filePath(QStringLiteral("report.csv"));
    form_->chosenFiles << path;
    report.OnExportCsv();
    QCOMPARE(form_->fileRequests.back().suffix, QStringLiteral("csv"));
    const QByteArray csv = Bytes(path);
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
    QVERIFY(csv.contains(QStringLiteral("参数,CH1,CH2").toUtf8()));
    QVERIFY(csv.contains("\r\n"));
    QCOMPARE(csv.count("\r\n"), static_cast<qsizetype>(report.Report().rows.size() + 1));

    const QString nowhere = dir_.filePath(QStringLiteral("missing/report.csv"));
    QVERIFY(!report.ExportCsv(nowhere));
    QVERIFY(form_->messages.last().startsWith(QStringLiteral("无法写入文件\n") + nowhere));
  }

  void theReportPrintsToPdf() {
    ReportDlg& report = View().Dialogs().OpenReport();
    const QString path = dir_.filePath(QStringLiteral("report.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    report.PrintTo(printer);
    const QByteArray pdf = Bytes(path);
    QVERIFY(pdf.startsWith("%PDF"));
    // Every output's table runs over more than one page.
    QVERIFY2(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") + pdf.count("/Type/Page") > 1,
             qPrintable(QString::number(pdf.size())));
  }

  void theAboutBoxNamesTheProgramAndItsVersion() {
    View().TopBar().AboutAction().trigger();
    AboutDlg* about = View().Dialogs().About();
    QVERIFY(about != nullptr && about->isVisible());
    QCOMPARE(about->windowTitle(), QStringLiteral("关于"));
    QVERIFY(about->Body().startsWith(QStringLiteral("八路输出")));
    QVERIFY(about->Body().contains(QStringLiteral("Vantor 版本 0.")));
    about->accept();
    QTRY_VERIFY(View().Dialogs().About() == nullptr);
    View().ToggleLanguage();
    QVERIFY(View().Dialogs().OpenAbout().Body().contains(QStringLiteral("Vantor version 0.")));
  }
  // What `vantor --open NAME` and the README's pictures rely on: each name opens its window,
  // shown, with a size of its own; asked again, the window already open comes forward
  // (the link dialog, a picture of a question, is made anew each time).
  void everyNamedWindowOpensOnce() {
    for (const QString& name : WindowNames()) {
      QWidget* window = OpenNamedWindow(View(), name);
      QVERIFY2(window != nullptr, qPrintable(name));
      QVERIFY2(window->isVisible(), qPrintable(name));
      QVERIFY2(window->width() > 100 && window->height() > 60, qPrintable(name));
      if (name != QLatin1String("link")) {
        QCOMPARE(OpenNamedWindow(View(), name), window);
      }
      window->close();
    }
    QVERIFY(OpenNamedWindow(View(), QStringLiteral("no-such-window")) == nullptr);
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::ReportAndAboutTest)
#include "ReportAndAboutTest.moc"
