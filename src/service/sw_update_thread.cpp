#include "sw_update_thread.h"

#include <vector>

#include "connection_thread.h"
#include "firmware_image.h"
#include "folders.h"
#include "ft_transport.h"
#include "sw_update_form.h"

SWUpdateThreadClass* UpdateThread = nullptr;
std::string UpdateMessage;

namespace {

// What each image file may fail with, in the words of its memo lines.
struct ImageFile {
  const char* name;
  int32_t size;
  const char* missing;
  const char* tooLarge;
  const char* readError;
};

const ImageFile kFlashFile = {
    kFlashFileName, kFlashImageSize, "Файл FLASH не найден.",
    "Файл FLASH слишком большой. Не поместится в этот маленький прибор. Выберите прибор побольше.",
    "Ошибка чтения файла FLASH"};
const ImageFile kEepromFile = {
    kEepromFileName, kEepromImageSize, "Файл EEPROM не найден.",
    "Файл EEPROM слишком большой. Не поместится в этот маленький прибор. Выберите прибор побольше.",
    "Ошибка чтения файла EEPROM"};

// The boot loader's announcement and its acknowledgement of an image.
constexpr uint8_t kAnnouncement[2] = {0x77, 0x88};
constexpr int32_t kAnswerLength = 2;

bool Acknowledged(const uint8_t (&answer)[kAnswerLength]) {
  return answer[0] == 0 && answer[1] == 0;
}

// Installs a context on the calling thread for one call of the link, and takes it away after.
class ScopedLinkContext {
 public:
  explicit ScopedLinkContext(LinkContext* context) { SetLinkContext(context); }
  ~ScopedLinkContext() { SetLinkContext(nullptr); }
  ScopedLinkContext(const ScopedLinkContext&) = delete;
  ScopedLinkContext& operator=(const ScopedLinkContext&) = delete;
};

}  // namespace

void WaitForEarlierUpdate() {
  if (UpdateThread != nullptr)
    UpdateThread->WaitFor();
}

SWUpdateThreadClass::SWUpdateThreadClass(bool CreateSuspended, uint32_t dialog, bool driverLoaded)
    : os::TThread(CreateSuspended), dialog_(dialog), driverLoaded_(driverLoaded) {}

void SWUpdateThreadClass::Execute() {
  Synchronize([this] { SyncClearMemo(); });
  std::vector<uint8_t> flash(kFlashImageSize);
  std::vector<uint8_t> eeprom(kEepromImageSize);
  if (!LoadImages(flash.data(), eeprom.data()))
    return;
  if (!driverLoaded_) {
    // No byte can move without the driver library: the connection thread's words, line by line.
    const std::string text = kMissingDriverText;
    const size_t lineEnd = text.find('\n');
    Say(text.substr(0, lineEnd).c_str());
    Say(text.substr(lineEnd + 1).c_str());
    return;
  }
  Say("Поиск прибора");
  // Reopens the link when the instrument's restart into its boot loader made the old handle fail.
  if (StopRequested() || !Connect())
    return;
  Say("Прибор обнаружен");
  Say("Ожидание ответа прибора");
  // Bytes already waiting in the chip are the boot loader's: the receive queue is not emptied.
  Exchange(flash.data(), eeprom.data());
}

bool SWUpdateThreadClass::LoadImages(uint8_t* flash, uint8_t* eeprom) {
  // Beside the program, wherever the current directory happens to be.
  const std::string folder = os::ExecutableFolder();
  const std::pair<const ImageFile*, uint8_t*> images[] = {{&kFlashFile, flash},
                                                          {&kEepromFile, eeprom}};
  for (const auto& [file, buffer] : images) {
    const char* failure = nullptr;
    switch (ReadImageFile(folder + file->name, buffer, file->size)) {
      case ImageFileResult::kRead:
        break;
      case ImageFileResult::kMissing:
        failure = file->missing;
        break;
      case ImageFileResult::kTooLarge:
        failure = file->tooLarge;
        break;
      case ImageFileResult::kReadError:
        failure = file->readError;
        break;
    }
    if (failure) {
      Say(failure);
      return false;
    }
    StampCrc(buffer, file->size);
  }
  return true;
}

void SWUpdateThreadClass::Exchange(const uint8_t* flash, const uint8_t* eeprom) {
  uint8_t answer[kAnswerLength];
  if (!ReadReply(answer, kAnswerLength))
    return;
  if (answer[0] != kAnnouncement[0] || answer[1] != kAnnouncement[1]) {
    Say("Ошибка связи. Неверный идентификатор прибора.");
    return;
  }
  // A dialog closed while the announcement came: nothing has gone out yet.
  if (StopRequested())
    return;
  imageBegun_ = true;
  if (!SendImage("Запись FLASH", flash, kFlashImageSize, "Ошибка записи FLASH"))
    return;
  // Two bytes and the instrument's own EEPROM follow unasked; neither is used.
  std::vector<uint8_t> instrumentEeprom(kEepromImageSize);
  if (!ReadReply(answer, kAnswerLength))
    return;
  Say("Чтение EEPROM");
  if (!ReadReply(instrumentEeprom.data(), kEepromImageSize))
    return;
  Say("OK");
  if (!SendImage("Запись EPPROM", eeprom, kEepromImageSize, "Ошибка записи EPPROM"))
    return;
  Say("Обновление ПО успешно завершено");
}

bool SWUpdateThreadClass::SendImage(const char* announce, const uint8_t* image, int32_t size,
                                    const char* refused) {
  Say(announce);
  if (!Write(image, size))
    return false;
  uint8_t answer[kAnswerLength];
  if (!ReadReply(answer, kAnswerLength))
    return false;
  if (!Acknowledged(answer)) {
    Say(refused);
    return false;
  }
  Say("OK");
  return true;
}

bool SWUpdateThreadClass::ReadReply(uint8_t* buffer, int32_t length) {
  // However long the boot loader takes: a shorter read is repeated at once, the driver's read
  // time-out being the wait, and its bytes are overwritten by the next.
  while (!StopRequested()) {
    const int32_t got = FtReadBytes(buffer, length);
    if (got == length)
      return true;
    if (got != 0)
      continue;
    // A lost link fails its reads at once: get it back, as a failing write would, rather than
    // spin. Asked to stop after the image went out, a whole read time-out without an answer
    // ends the update: nobody waits for it any more, and the next dialog waits for its end.
    if (FtLinkStatus() != FT_OK) {
      if (!Connect())
        return false;
    } else if (Terminated()) {
      return false;
    }
  }
  return false;
}

bool SWUpdateThreadClass::Connect() {
  ScopedLinkContext context(this);
  return FtConnect();
}

bool SWUpdateThreadClass::Write(const uint8_t* bytes, int32_t size) {
  ScopedLinkContext context(this);
  return FtWriteBytes(bytes, static_cast<uint32_t>(size));
}

bool SWUpdateThreadClass::StopRequested() const {
  return !imageBegun_ && Terminated();
}

void SWUpdateThreadClass::Wait(uint32_t ms) {
  Pause(ms, nullptr, /*endOnTerminate=*/true);
}

bool SWUpdateThreadClass::GiveUpLostLink() {
  return Terminated();
}

void SWUpdateThreadClass::Say(const char* line) {
  // An update asked to stop has lost its dialog: it reports nothing more.
  if (Terminated())
    return;
  UpdateMessage = line;
  Synchronize([this] { SyncAddMessage(); });
}

void SWUpdateThreadClass::SyncClearMemo() {
  if (TSWUpdateForm* dialog = TSWUpdateForm::OpenDialog(dialog_))
    dialog->Memo->ClearLines();
}

void SWUpdateThreadClass::SyncAddMessage() {
  if (TSWUpdateForm* dialog = TSWUpdateForm::OpenDialog(dialog_))
    dialog->Memo->AddLine(UpdateMessage);
}
