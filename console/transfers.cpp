// The transfer lines: the upload labels refreshed at each scroll moment, the periodic
// transfer lines of the scrolls, the scroll-transfer command, and the transfer options.
#include "console/console.h"
#include "console/status_lines.h"
#include "text/text_ops.h"

namespace vantary::console {
namespace {

using text::operator""_ansi;
using text::DigitsOnly;
using text::RemoveSpaces;
using text::ToLower;

}  // namespace

void Console::RefreshUploadLabels() {
  const host::UploadTexts texts = host_->ReadUploadTexts();
  form_->setText("lblfile", texts.file);
  form_->setText("lblper", texts.percent);
  form_->setText("lblmins", texts.minutes);
}

void Console::periodicTransferLines(const host::BrowserDownload& browser) {
  toolkit::Form& f = *form_;
  if (host_->FindTransferWindow()) {
    host_->RaiseDownloadWindow();
    f.setText("s1", host_->GetDownloadTimeText());
    const Text file = ToLower(host_->GetTransferFileName());
    const Text percent = DigitsOnly(host_->GetCaption(host_->FindDownloadWindow()));
    sendStatus(style().ascii3, DownloadBody(file, percent, DigitsOnly(RemoveSpaces(f.text("s1")))));
  }
  if (!scrollGoesOn()) return;
  if (host_->FindUploadModal()) {
    const StatusLine line = Status(style(), style().ascii3,
                                   UploadBody(f.text("lblfile"), DigitsOnly(f.text("lblper")),
                                              DigitsOnly(RemoveSpaces(f.text("lblmins")))));
    host_->SendPlainChatLine(line.plain);
    host_->SendChatLine(line.rich);
  }
  if (browser.found != 0 && scrollGoesOn()) {
    host_->SendChatLineEx(
        host::StatusPrefix(style(), style().ascii3) + "> ie.file: " + ToLower(browser.status), false, false);
  }
}

void Console::ScrollTransferCommand() {
  toolkit::Form& f = *form_;
  if (host_->GetScreenName().empty()) return;
  const host::ChatStyle s = style();
  if (host_->FindTransferWindow()) {
    host_->RaiseDownloadWindow();
    f.setText("s1", host_->GetDownloadTimeText());
    f.setText("s1", CleanTimeLeft(f.text("s1")));
    const Text file = ToLower(host_->GetTransferFileName());
    const Text percent = DigitsOnly(host_->GetCaption(host_->FindDownloadWindow()));
    const Text minutes = RemoveSpaces(f.text("s1"));
    const Text head = " d.file: " + file + "\r\n. " + percent + "p . \r\n";
    host_->SendChatLine(host::StatusPrefix(s, s.ascii1) + Text("> vantarý³ · brag dlstats ·"_ansi));
    host_->SendChatLine(host::StatusPrefix(s, s.ascii2) + ">" + head + minutes + Text("m ·"_ansi));
    host_->SendPlainChatLine(s.ascii1 + Text(" vantarý³ · brag dlstats ·"_ansi));
    host_->SendPlainChatLine(s.ascii2 + head + DigitsOnly(minutes) + Text("m ·"_ansi));
  } else if (host_->FindUploadModal()) {
    RefreshUploadLabels();
    const Text body = UploadBody(f.text("lblfile"), DigitsOnly(f.text("lblper")),
                                 DigitsOnly(RemoveSpaces(f.text("lblmins"))));
    host_->SendChatLine(host::StatusPrefix(s, s.ascii1) + Text("> vantarý³ · brag ulstats ·"_ansi));
    host_->SendChatLine(host::StatusPrefix(s, s.ascii2) + "></u></b></s></i>" + body);
    host_->SendPlainChatLine(s.ascii1 + Text(" vantarý³ · brag ulstats ·"_ansi));
    host_->SendPlainChatLine(s.ascii2 + body);
  } else {
    host_->SendChatLine(host::StatusPrefix(s, s.ascii1) +
                        Text("> vantarý³ · not currently ul'n / dl'n ·"_ansi));
  }
}

void Console::DlulToggle() {
  if (menu_->checked("dlul")) {
    menu_->check("dlul", false);
    storeConfig("dlul", "0");
  } else {
    menu_->check("dlul", true);
    menu_->check("immune", false);
    storeConfig("dlul", "1");
  }
}

void Console::AutoUpToggle() {
  const bool on = !menu_->checked("autoup");
  menu_->check("autoup", on);
  form_->setText("autoupp", on ? "1" : "0");
  storeConfig("autoup", on ? "1" : "0");
  autoUpchat_->setEnabled(on);
}

}  // namespace vantary::console