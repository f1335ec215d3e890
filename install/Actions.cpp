#include "install/Actions.h"

#include "install/BlobWriter.h"
#include "install/FileProblem.h"
#include "install/Messages.h"
#include "install/Targets.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

using Outcome = gui::FolderChoice::Outcome;

std::optional<std::string> ConfirmFolder(std::string& installFolder, ActionUi& ui) {
    gui::FolderChoice choice = ui.PickFolder(kFolderPrompt, installFolder);
    const char* refusal = nullptr;
    switch (choice.outcome) {
    case Outcome::Chosen:
        installFolder = choice.path;
        return choice.path;
    case Outcome::Cancelled:
        return std::nullopt;
    case Outcome::NotOnDisk:
        refusal = kNotOnDiskText;
        break;
    case Outcome::NotAnsi:
        refusal = kNotAnsiText;
        break;
    case Outcome::Unavailable:
        refusal = kNoBrowserText;
        break;
    }
    ui.ShowMessage(UserText(kFolderCaption), UserText(refusal), MB_OK | MB_ICONERROR);
    return std::nullopt;
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

enum class PayloadCheck { Intact, Damaged, Unverifiable };

PayloadCheck CheckPayloads(std::span<const PayloadFile> files) {
    for (const PayloadFile& file : files) {
        if (!file.bytes.start) return PayloadCheck::Damaged;
        std::optional<Sha256Digest> digest = Sha256(file.bytes.start, file.bytes.Size());
        if (!digest) return PayloadCheck::Unverifiable;
        if (*digest != file.digest) return PayloadCheck::Damaged;
    }
    return PayloadCheck::Intact;
}

FileProblem SystemProblem(DWORD error) { return {FileProblem::Kind::System, error}; }

// An install cut short (a crash, a power cut) can leave its temporary file beside the target,
// where the compiler would find a stray library. It is ours: it goes, quietly.
void RemoveLeftovers(const std::string& target) {
    for (const std::string& leftover : LeftoverPathsFor(target)) {
        if (!PathTooLong(leftover)) DeleteFileA(leftover.c_str());  // a folder of that name stays
    }
}

FileProblem InstallOne(const std::string& folder, const PayloadFile& file) {
    const std::string target = TargetPath(folder, file.relativePath);
    // First: past MAX_PATH an existing folder looks missing to the ANSI calls.
    if (TooLongToWrite(target)) return {FileProblem::Kind::PathTooLong};
    if (!IsFolder(TargetPath(folder, RelativeFolder(file.relativePath)))) {
        return {FileProblem::Kind::MissingFolder};
    }
    if (IsFolder(target)) return {FileProblem::Kind::TargetIsFolder};
    DWORD error = WriteBlobToFile(target, file.bytes.start, file.bytes.end);
    if (error != ERROR_SUCCESS) return SystemProblem(error);
    RemoveLeftovers(target);  // one left under an earlier version's name is not written over
    return {};
}

FileProblem UninstallOne(const std::string& folder, const PayloadFile& file) {
    const std::string target = TargetPath(folder, file.relativePath);
    if (PathTooLong(target)) return {FileProblem::Kind::PathTooLong};
    if (!IsFolder(TargetPath(folder, RelativeFolder(file.relativePath)))) return {FileProblem::Kind::MissingFolder};
    RemoveLeftovers(target);
    if (IsFolder(target)) return {};  // not our file: the library is not there
    if (DeleteFileA(target.c_str())) return {};
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {};  // already gone
    return SystemProblem(error);
}

// Whether a problem is worth telling. An installation without one of the subfolders has no
// file there to uninstall; a folder without any of them is plainly not the compiler's, and the
// user, who picked the wrong one, must hear it.
bool Reported(Action action, const FileProblem& problem, bool noSubfolderAtAll) {
    if (!problem) return false;
    if (action == Action::Uninstall && problem.kind == FileProblem::Kind::MissingFolder) return noSubfolderAtAll;
    return true;
}

// Runs `step` for each file, offering Retry / Cancel where trying again can help, and ends with
// one message: the completion message when every file succeeded, else what went wrong.
template <typename Step>
void RunForEachFile(Action action, const std::string& folder, std::span<const PayloadFile> files,
                    ActionUi& ui, Step step) {
    std::vector<FileProblem> problems;
    for (const PayloadFile& file : files) {
        FileProblem problem = step(folder, file);
        while (problem && RetryCanHelp(problem) &&
               ui.ShowMessage(FailureCaption(action), DescribeProblem(action, folder, file.relativePath, problem),
                              MB_RETRYCANCEL | MB_ICONERROR) == IDRETRY) {
            problem = step(folder, file);
        }
        problems.push_back(problem);
    }
    const bool noSubfolderAtAll = std::all_of(problems.begin(), problems.end(), [](const FileProblem& problem) {
        return problem.kind == FileProblem::Kind::MissingFolder;
    });
    std::vector<std::wstring> paragraphs;  // one per failure, then what they may have in common
    bool missingFolder = false;
    for (size_t i = 0; i < problems.size(); ++i) {
        if (!Reported(action, problems[i], noSubfolderAtAll)) continue;
        paragraphs.push_back(DescribeProblem(action, folder, files[i].relativePath, problems[i]));
        missingFolder = missingFolder || problems[i].kind == FileProblem::Kind::MissingFolder;
    }
    if (paragraphs.empty()) {
        ui.ShowMessage(UserText(kDoneCaption), UserText(action == Action::Install ? kInstallDone : kUninstallDone),
                       MB_OK);
        return;
    }
    if (missingFolder) paragraphs.push_back(NotACompilerFolder(action, folder));
    std::wstring text = FailureHeading(action);
    for (const std::wstring& paragraph : paragraphs) {
        text += L"\n\n";
        text += paragraph;
    }
    ui.ShowMessage(FailureCaption(action), text, MB_OK | MB_ICONERROR);
}

}  // namespace

void InstallLibrary(std::string& installFolder, std::span<const PayloadFile> files, ActionUi& ui) {
    // A damaged installer would write damaged files: say so before asking anything. Files that
    // can't be checked are not written either.
    switch (CheckPayloads(files)) {
    case PayloadCheck::Intact:
        break;
    case PayloadCheck::Damaged:
        ui.ShowMessage(UserText(kDamagedCaption), UserText(kDamagedText), MB_OK | MB_ICONERROR);
        return;
    case PayloadCheck::Unverifiable:
        ui.ShowMessage(UserText(kUncheckedCaption), UserText(kUncheckedText), MB_OK | MB_ICONERROR);
        return;
    }
    std::optional<std::string> folder = ConfirmFolder(installFolder, ui);
    if (!folder) return;
    RunForEachFile(Action::Install, *folder, files, ui, InstallOne);
}

void UninstallLibrary(std::string& installFolder, std::span<const PayloadFile> files, ActionUi& ui) {
    std::optional<std::string> folder = ConfirmFolder(installFolder, ui);
    if (!folder) return;
    RunForEachFile(Action::Uninstall, *folder, files, ui, UninstallOne);
}
