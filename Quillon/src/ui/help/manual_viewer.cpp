#include "manual_viewer.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "questions.h"

namespace quillon {

TManualViewer::TManualViewer(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
  setObjectName(QStringLiteral("ManualViewer"));
  setWindowTitle(QString::fromLatin1(kApplicationTitle) + QStringLiteral(" Help"));
  browser_->setObjectName(QStringLiteral("ManualBrowser"));
  // Links that leave the manual go to the desktop, which may still open them.
  browser_->setOpenExternalLinks(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* back = buttons->addButton(QStringLiteral("Back"), QDialogButtonBox::ActionRole);
  QPushButton* contents =
      buttons->addButton(QStringLiteral("Contents"), QDialogButtonBox::ActionRole);
  back->setEnabled(false);
  for (QPushButton* button : buttons->findChildren<QPushButton*>()) button->setAutoDefault(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(contents, &QPushButton::clicked, browser_, [this] {
    QUrl top = browser_->source();
    top.setFragment(QStringLiteral("contents"));
    browser_->setSource(top);
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addWidget(buttons);
  resize(820, 640);
}

void TManualViewer::Show(const QUrl& page) {
  browser_->setSource(page);
  show();
  raise();
  activateWindow();
}

QUrl TManualViewer::Source() const { return browser_->source(); }

}  // namespace quillon
