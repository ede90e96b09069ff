// System functions over the platform's shell, folder and process services. None of them throws:
// failures answer false, an empty string or 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Corvane::Shared {

class TSysUtils {
public:
    TSysUtils() = delete;

    // Folder paths end with the path separator.
    static std::string GetUserDesktopDirPath();
    static std::string GetUserDocumentsDirPath();
    static std::string GetUserAppDataDirPath();
    static std::string GetLocalAppDataDirPath();
    static std::string GetTempDirPath();

    // Deletes the folder and everything below it; false when it did not exist or was not removed.
    static bool DeleteDirectory(const std::string& dirPath);
    // Opens filePath as the shell does with the verb "open": a program starts with the argument text
    // (split by the usual quoting rules), anything else opens in its default application. Whether the
    // system accepted the request; on failure the last error code tells why.
    static bool ShellExec(const std::string& filePath, const std::string& arguments);
    // Shows filePath selected in the desktop's file manager. Whether the request was accepted.
    static bool ShellExplore(const std::string& filePath);
    // Runs filePath with administrator rights and params (split by the usual quoting rules), waiting
    // for it to end while the main loop keeps turning. Its exit code; 0 when it could not be started.
    static std::uint32_t ShellExecAsAdminAndWait(void* handle, const std::string& filePath,
                                                 const std::string& params);
    // Runs commandLine in the command interpreter in workingDir (empty: the current folder) and
    // returns everything it wrote to standard output and error, in the order written; empty when it
    // could not be started. showWindow runs it in a terminal window where the desktop has one.
    static std::string GetDosOutput(const std::string& commandLine, const std::string& workingDir,
                                    bool showWindow);
    // The captions of the desktop's top-level windows, blank ones left out.
    static void GetWindowsCaptions(std::vector<std::string>& windowsCaptionsList);
    // Logs the user off (0), shuts the machine down (1) or restarts it (2), optionally with the force
    // flag 4: 4, 5 and 6 are what the runtime passes. Whether the system accepted the request; any
    // other value is refused with EINVAL. On failure the last error code and its message tell why.
    static bool ExitWindows(std::uint32_t rebootParam);

    // ---- Further functions; the runtime itself does not call them. ----

    // A font as the screen draws it: family, em height in pixels, style.
    struct TFont {
        std::string Name;
        int Height = 0;
        bool Bold = false;
        bool Italic = false;
    };
    // Pixels row by row from the top, red, green, blue and alpha bytes each.
    struct TBitmap {
        int Width = 0;
        int Height = 0;
        std::vector<std::uint8_t> Rgba;
    };

    // Where add-on programs are installed, one folder each ("/opt/").
    static std::string GetProgramFilesDirPath();
    // Where the programs that came with the system are listed ("/usr/share/applications/").
    static std::string GetSystemAppsDirPath();
    // Opens filePath in a painting program registered for its type; false when there is none.
    static bool EditWithMSPaint(const std::string& filePath);
    // ShellExec without arguments.
    static bool ShellOpen(const std::string& filePath);
    // Starts the program's own executable again, then leaves the main loop so that this instance
    // ends. False, and the loop left alone, when the new instance did not start.
    static bool RestartApplication();
    // Runs commandLine (split by the usual quoting rules, the program looked up on the PATH) with no
    // terminal and none of our files, and waits for it. Its exit code, 128 + the signal that ended
    // it; 0 when it could not be started.
    static std::uint32_t ExecAndWait(const std::string& commandLine);
    // Starts commandLine as ExecAndWait does, in a process group of its own and sharing our standard
    // streams; with wait, returns after it ended. Whether it started.
    static bool ExecCmd(const std::string& commandLine, bool wait);
    // Copies a file, or a folder with everything below it, to toPath, replacing files there and
    // creating missing folders; into toPath when that is a folder. A '*'/'?' mask in the last part of
    // fromPath copies the matching files only. Whether everything was copied.
    static bool CopyFile(const std::string& fromPath, const std::string& toPath);
    // As CopyFile.
    static bool CopyDirectory(const std::string& fromDirPath, const std::string& toDirPath);
    // fileList becomes the paths of rootDir's subfolders (with includeDirs) and then of its files
    // whose names match fileMask ('*', '?'; "*.*" matches every name), each group sorted by name.
    static void GetDirectoryFiles(const std::string& rootDir, bool includeDirs,
                                  std::vector<std::string>& fileList, const std::string& fileMask);
    // Size in bytes; -1 when there is no such file.
    static std::int64_t GetSizeOfFile(const std::string& filePath);
    // The bytes of the folder's files, with includeSubdirs those of every folder below it too; 0 when
    // the folder does not exist.
    static std::int64_t GetSizeOfDir(const std::string& dirPath, bool includeSubdirs);
    // The number of direct subfolders; 0 when the folder does not exist.
    static int GetSubdirectoriesCount(const std::string& dirPath);
    // The absolute path of the folder that holds path, ending with the separator ("/" for the root).
    static std::string GetParentDirPath(const std::string& path);
    // fileName under baseDir when it is relative, with "." and ".." parts resolved.
    static std::string ExpandFileNameRelBaseDir(const std::string& fileName, const std::string& baseDir);
    // Whether both files exist and were last written at the same moment.
    static bool FilesHaveSameDateTime(const std::string& file1Path, const std::string& file2Path);
    // Whether the file system can take fileName as a path: not empty, no zero byte, no part too long.
    static bool IsValidFilePath(const std::string& fileName);
    // Drops a UTF-8 byte order mark from the start of the file, replacing the file whole. False when
    // the file could not be read or rewritten.
    static bool RemoveUTFBoomFromFile(const std::string& filePath);
    // "512 bytes", "1.5 KB", "1 MB", "2.25 GB": at most two decimals, trailing zeros dropped.
    static std::string FormatByteSize(std::int64_t bytes);
    // The path or address a symbolic link or desktop launcher points at; empty for anything else.
    static std::string GetLnkFilePath(const std::string& lnkFilePath);
    // The icon of a Windows executable or icon file, at the size nearest 32 pixels; false when the
    // file has none (executables of this system carry none).
    static bool ExtractExeIcon(const std::string& filePath, TBitmap& bitmap);
    // The machine's network name; empty when it cannot be read.
    static std::string GetComputerNetName();
    // The user's login name; "Unknown" when it cannot be read.
    static std::string GetUserFromWindows();
    // Presses and releases the key of a Windows virtual-key code for the focused window. Whether the
    // key went out.
    static bool PressKey(std::uint16_t virtualKey);
    // The width in pixels of text in font on the screen; -1 when it cannot be measured.
    static int TrueFontWidth(const TFont& font, const std::string& text);
};

} // namespace Corvane::Shared
