#include "UpdateRules.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include <wininet.h>

CString FormatSize(UINT size) {
    struct Unit {
        UINT threshold;
        int shift;
        const char* format;
    };
    static const Unit units[] = {
        {1u << 30, 30, "%.2f G"},
        {1u << 20, 20, "%.2f M"},
        {1u << 10, 10, "%.2f K"},
    };
    CString text;
    for (const Unit& unit : units) {
        if (size >= unit.threshold) {
            const std::uint64_t hundredths = (static_cast<std::uint64_t>(size) * 100) >> unit.shift;
            text.Format(unit.format, static_cast<double>(hundredths + 5) / 100);
            return text;
        }
    }
    text.Format("%d Byte", static_cast<int>(size));
    return text;
}

int ParseLength(const char* text) {
    if (!text)
        return 0;
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\v' ||
           *text == '\f')
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    std::int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<std::int64_t>(INT_MAX) + 1)
            value = static_cast<std::int64_t>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

CString VersionText(DWORD versionMS, DWORD versionLS) {
    CString text;
    text.Format("%d.%d.%d.%d", HIWORD(versionMS), LOWORD(versionMS), HIWORD(versionLS),
                LOWORD(versionLS));
    return text;
}

namespace {

bool IsDeviceName(const CString& element) {
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    static const char* const numbered[] = {"COM", "LPT"};
    CString stem = element;
    const int dot = stem.Find('.');
    if (dot >= 0)
        stem = stem.Left(dot);
    while (!stem.IsEmpty() && stem.GetAt(stem.GetLength() - 1) == ' ')
        stem = stem.Left(stem.GetLength() - 1);
    for (const char* device : devices) {
        if (lstrcmpiA(stem, device) == 0)
            return true;
    }
    for (const char* prefix : numbered) {
        if (stem.GetLength() == 4 && lstrcmpiA(stem.Left(3), prefix) == 0 && stem.GetAt(3) >= '1' &&
            stem.GetAt(3) <= '9')
            return true;
    }
    return false;
}

bool IsSafeElement(const CString& element) {
    if (element.IsEmpty())
        return false;
    const char last = element.GetAt(element.GetLength() - 1);
    return last != '.' && last != ' ' && !IsDeviceName(element);
}

} // namespace

bool IsSafeRelativePath(const char* path) {
    if (!path || !*path)
        return false;
    // Separators are found by walking characters, so that a GBK trail byte of 0x5C is
    // never taken for a backslash.
    CString element;
    for (const char* p = path; *p;) {
        if (*p == ':')
            return false;
        if (*p == '\\' || *p == '/') {
            if (!IsSafeElement(element))
                return false;
            element.Empty();
            ++p;
            continue;
        }
        const char* next = ::CharNextA(p);
        element += CString(p, static_cast<int>(next - p));
        p = next;
    }
    return IsSafeElement(element);
}

int ProgressPercent(std::uint64_t received, std::uint64_t total) {
    if (total == 0)
        return 0;
    if (received >= total)
        return 100;
    return static_cast<int>(received * 100 / total);
}

CString RelativePathKey(const char* path) {
    std::string key(path ? path : "");
    // A GBK trail byte may be 0x5C, but a '/' is never one: folding '/' into '\\' is safe.
    std::replace(key.begin(), key.end(), '/', '\\');
    // Upper case, as the file system compares names; double-byte characters stay whole.
    if (!key.empty())
        ::CharUpperBuffA(&key[0], static_cast<DWORD>(key.size()));
    return key.c_str();
}

CString StatusText(RowStatus status, const char* name, const char* detail) {
    const CString file(name);
    switch (status) {
    case RowStatus::Downloading:
        return "正在下载文件：" + file;
    case RowStatus::NotFound:
        return "您要下载的：" + file + "文件不存在！";
    case RowStatus::ServerRefused:
        return "您要下载的：" + file + "服务器拒绝提供（状态 " + CString(detail) + "），升级失败！";
    case RowStatus::Incomplete:
        return "下载文件：" + file + "不完整，升级失败！";
    case RowStatus::TimedOut:
        return "下载文件：" + file + "时服务器长时间没有响应，升级失败！";
    case RowStatus::ChecksumMismatch:
        return "下载文件：" + file + "校验失败，升级失败！";
    case RowStatus::CreateFailed:
        return "本地创建下载文件：" + file + "失败！";
    case RowStatus::WriteFailed:
        return "本地写入下载文件：" + file + "失败！";
    case RowStatus::Replaced:
        return file + "完成更新！";
    case RowStatus::ReplaceFailed:
        return file + "为为只读文件或者正在被打开使用，升级失败！";
    }
    return CString();
}

const char* const kManifestUnreadableText = "无法读取升级信息，请检查网络连接后重新启动升级程序！";
const char* const kManifestSignatureInvalidText = "升级信息的签名无效，已停止升级！";
const char* const kManifestOlderText = "升级信息比上次使用的旧，已停止升级！";
const char* const kManifestExpiredText = "升级信息已过期（请检查本机的日期和时间），已停止升级！";
const char* const kManifestUndatedText = "升级信息缺少有效的序号或有效期，已停止升级！";
const char* const kSerialStoreFailedText = "无法读写升级记录 update.serial，已停止升级！";
const char* const kUpgradeCancelledText = "升级已取消，未完成的文件保持原样。";

CString InternetErrorText(DWORD error) {
    switch (error) {
    case ERROR_INTERNET_CANNOT_CONNECT:
        return "无法连接升级服务器！";
    case ERROR_INTERNET_TIMEOUT:
        return "连接升级服务器超时！";
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
        return "找不到升级服务器，请检查网络连接！";
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SEC_CERT_REV_FAILED:
    case ERROR_INTERNET_SEC_INVALID_CERT:
    case ERROR_INTERNET_SEC_CERT_REVOKED:
    // What an https address gets from a server that speaks no TLS, or an unusable certificate.
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
        return "升级服务器的安全证书无效！";
    default:
        break;
    }
    char text[1024] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                         ::GetModuleHandleA("wininet.dll"), error, 0, text, sizeof(text), nullptr);
    CString message(text, static_cast<int>(length));
    if (message.IsEmpty())
        message.Format("无法连接升级服务器（错误 %lu）！", error);
    return message;
}
