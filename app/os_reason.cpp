// Russian words for the file-system failures a designer meets when saving a drawing.
#include "app/os_reason.h"

#include <cerrno>
#include <system_error>

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
};

}  // namespace

std::string RussianOsReason(const std::string& systemText) {
    // The reasons arrive as text; the system's words for each known code identify it.
    for (const KnownReason& known : kKnownReasons) {
        if (systemText == std::system_category().message(known.code)) {
            return known.words;
        }
    }
    return systemText;
}

}  // namespace tarvo
