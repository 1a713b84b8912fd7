// Russian words for the file-system failures a designer meets when saving a drawing.
#include "app/os_reason.h"

#include <cerrno>

#include "drawing/file_error.h"

namespace tarvo {

namespace {

struct KnownReason {
    int code;
    const char* words;
};

// The causes a designer can act on: another folder, another name, another disk.
const KnownReason kKnownReasons[] = {
    {ENOENT, "папка не найдена"},
    {ENOTDIR, "часть пути — не папка, а файл"},
    {EACCES, "нет прав доступа к папке или файлу"},
    {EPERM, "нет прав доступа к папке или файлу"},
    {ENOSPC, "на диске нет свободного места"},
    {EDQUOT, "дисковая квота исчерпана"},
    {EROFS, "носитель доступен только для чтения"},
    {ENAMETOOLONG, "слишком длинное имя файла или пути"},
    {EISDIR, "по этому пути находится папка, а не файл"},
    {EBUSY, "по этому пути находится папка или занятый системой файл"},
    {EFBIG, "файл больше допустимого размера (ограничение системы или пользователя)"},
    {ELOOP, "слишком много символических ссылок по пути (возможно, ссылка указывает сама на себя)"},
    {EIO, "ошибка ввода-вывода на носителе"},
    {EEXIST, "в папке не удалось создать временный файл"},
    {EMFILE, "открыто слишком много файлов"},
    {ENFILE, "открыто слишком много файлов"},
    {ETXTBSY, "файл занят другой программой"},
    {EXDEV, "ссылка ведёт на другой носитель"},
    {ENOMEM, "недостаточно памяти"},
    {EINVAL, "недопустимое имя файла для этого носителя"},
};

}  // namespace

std::string RussianOsReason(const std::error_code& error) {
    if (error.category() == FileRefusalCategory()) {
        switch (static_cast<FileRefusal>(error.value())) {
            case FileRefusal::NotRegularFile:
                return "по этому пути находится устройство, канал или сокет — не обычный файл";
        }
    }
    if (error.category() == std::system_category() || error.category() == std::generic_category()) {
        for (const KnownReason& known : kKnownReasons) {
            if (error.value() == known.code) {
                return known.words;
            }
        }
    }
    return "ошибка файловой системы (" + error.message() + ")";
}

}  // namespace tarvo
