#include "ui_fixture.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QLayout>
#include <QTest>
#include <algorithm>
#include <cstdio>

#include "core/file_names.h"

namespace kelpra::test {

namespace {

std::optional<QString> Take(std::deque<std::optional<QString>>& queue) {
  if (queue.empty())
    return std::nullopt;
  const std::optional<QString> answer = queue.front();
  queue.pop_front();
  return answer;
}

}  // namespace

void LetKeyReleasesAct(const TForm1& form) {
  EXPECT_TRUE(QTest::qWaitFor([&form] { return !TForm1Inspector::KeyReleasesWaiting(form); }, 5000))
      << "the key releases never acted";
}

QString ToQString(const std::filesystem::path& path) {
  return FileNameFromBytes(path.string());
}

QString WithCounter(const QString& caption, int page, int count) {
  const int spaces = int(std::max<qsizetype>(50 - caption.size(), 0)) + 2;
  return caption + QString(spaces, u' ') + QString::number(page) + u'/' + QString::number(count);
}

std::optional<QString> FakeDialogs::OpenPicture(const QString& folder, const QString& fileName,
                                                const QString& filter,
                                                const QString& defaultExtension) {
  opened.push_back({"OpenPicture", folder, fileName, filter, defaultExtension});
  return Take(openAnswers);
}

std::optional<QString> FakeDialogs::SavePicture(const QString& folder, const QString& fileName,
                                                const QString& filter,
                                                const QString& defaultExtension) {
  opened.push_back({"SavePicture", folder, fileName, filter, defaultExtension});
  return Take(saveAnswers);
}

std::optional<QString> FakeDialogs::ChooseFolder(const QString& title, const QString& startFolder) {
  opened.push_back({"ChooseFolder", startFolder, title, {}, {}});
  return Take(folderAnswers);
}

void FakeDialogs::Information(const QString& text) {
  messages.push_back({"Information", text});
}

void FakeDialogs::InformationOnScreen(const QString& text) {
  messages.push_back({"InformationOnScreen", text});
}

bool FakeDialogs::ConfirmYesNo(const QString& text) {
  messages.push_back({"ConfirmYesNo", text});
  if (yesNoAnswers.empty())
    return false;
  const bool yes = yesNoAnswers.front();
  yesNoAnswers.pop_front();
  return yes;
}

void FakeDialogs::ConfirmOk(const QString& text) {
  messages.push_back({"ConfirmOk", text});
}

void FakeDialogs::ErrorAbort(const QString& text) {
  messages.push_back({"ErrorAbort", text});
}

void FakeDialogs::ShowError(const QString& message) {
  messages.push_back({"ShowError", message});
}

std::vector<QString> FakeDialogs::MessagesOf(const std::string& kind) const {
  std::vector<QString> texts;
  for (const Message& message : messages) {
    if (message.kind == kind)
      texts.push_back(message.text);
  }
  return texts;
}

FakePlatform::FakePlatform(std::filesystem::path appData) : appData_(std::move(appData)) {}

PlatformServices FakePlatform::services() {
  return PlatformServices{*this, *this, *this, *this, *this};
}

QString FakePlatform::GetPath(int nFolder) {
  requestedFolders.push_back(nFolder);
  return ToQString(appData_);
}

void FakePlatform::SetSettingChangeHandler(std::function<void()> handler) {
  settingChange_ = std::move(handler);
}

void FakePlatform::FireSettingChange() {
  if (settingChange_)
    settingChange_();
}

bool FakePlatform::ChangeWallpaperStyle(int wallPaperStyle, int nX, int nY) {
  styleCalls.push_back({wallPaperStyle, nX, nY});
  return styleResult;
}

bool FakePlatform::ChangeBackground(TColor color) {
  backgrounds.push_back(color);
  return backgroundResult;
}

void FakePlatform::SetWallpaper(const QString& bmpPath) {
  wallpapers.push_back(bmpPath);
}

ViewerFixture::ViewerFixture() : platform(temp / "appdata") {
  std::filesystem::create_directories(temp / "appdata");
}

ViewerFixture::~ViewerFixture() {
  // The dialogs refer to the main window: they go first.
  form3_.reset();
  form2_.reset();
  form1_.reset();
}

void ViewerFixture::Create(QStringList arguments) {
  form1_ = std::make_unique<TForm1>(platform.services(), dialogs, std::move(arguments));
  form2_ = std::make_unique<TForm2>(*form1_);
  form3_ = std::make_unique<TForm3>(*form1_);
  form2_->hide();
  form3_->hide();
  form1_->AttachDialogs(*form2_, *form3_);
}

void ViewerFixture::Show(QSize clientSize, QStringList arguments) {
  if (!form1_)
    Create(std::move(arguments));
  form1_->resize(clientSize);
  form1_->show();
  QApplication::processEvents();
  SetClientSize(clientSize);
}

void ViewerFixture::SetClientSize(QSize clientSize) {
  // The menu bar and status bar take their share of the window: adjust until the client fits.
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (form1_->layout())
      form1_->layout()->activate();
    const QSize client = form1_->ClientSize();
    if (client == clientSize)
      return;
    // The client size is in device pixels, the window's size in logical ones.
    const qreal ratio = form1_->devicePixelRatioF();
    const QSize change = clientSize - client;
    form1_->resize(form1_->size() +
                   QSize(qRound(change.width() / ratio), qRound(change.height() / ratio)));
    QApplication::processEvents();
  }
}

void ViewerFixture::Run(void (TForm1::*command)()) {
  form1_->Guarded([this, command] { (form1_.get()->*command)(); });
}

void ViewerFixture::Open(const QString& fileName) {
  dialogs.openAnswers.push_back(fileName);
  Run(&TForm1::Action01FOpenExecute);
}

void ViewerFixture::SetOption(QAction* TForm1::*popupItem, bool on) {
  TForm1Inspector::SetOption(*form1_, (*form1_).*popupItem, on);
}

QString ViewerFixture::Caption() const {
  return form1_->windowTitle();
}

std::filesystem::path ViewerFixture::PictureFolder(const std::string& name) {
  const std::filesystem::path folder = temp / name;
  std::filesystem::create_directories(folder);
  return folder;
}

QString ViewerFixture::WritePage(const std::string& fileName, int width, int height,
                                 const std::string& folder) {
  const std::filesystem::path file = PictureFolder(folder) / fileName;
  std::filesystem::create_directories(file.parent_path());
  WritePicture(MakePicture(width, height, nextSeed_++), file);
  return ToQString(file);
}

QStringList ViewerFixture::WritePages(int count, int width, int height, const std::string& folder) {
  QStringList paths;
  for (int i = 1; i <= count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "p%02d.png", i);
    paths << WritePage(name, width, height, folder);
  }
  return paths;
}

}  // namespace kelpra::test
