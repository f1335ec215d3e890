#include "install/Messages.h"

#include "install/BlobWriter.h"
#include "install/Targets.h"
#include "platform/ErrorText.h"
#include "platform/Text.h"

std::wstring UserText(std::string_view text) { return text::FromWindows1252(text); }

namespace {

// A message is put together from pieces, each widened from its own encoding: the program's
// words (Windows-1252), the paths it names (the system's code page, shown between « »), and
// the system's own words for an error (already wide). One call for the whole message keeps
// the code that builds each text short. A piece only points at its text: pieces live for the
// one Compose call they are written in.
struct Piece {
    enum class Kind { Words, Path, Wide };
    Piece(const char* words) : kind(Kind::Words), narrow(words) {}
    Piece(const std::string& words) : kind(Kind::Words), narrow(words) {}
    Piece(const std::wstring& wide) : kind(Kind::Wide), wide(wide) {}
    Kind kind;
    std::string_view narrow;
    std::wstring_view wide;
};

Piece Quoted(const std::string& path) {
    Piece piece(path);
    piece.kind = Piece::Kind::Path;
    return piece;
}

std::wstring Compose(std::initializer_list<Piece> pieces) {
    std::wstring text;
    for (const Piece& piece : pieces) {
        switch (piece.kind) {
        case Piece::Kind::Words:
            text += UserText(piece.narrow);
            break;
        case Piece::Kind::Path:
            text += UserText("« ");
            text += text::FromAnsi(piece.narrow);
            text += UserText(" »");
            break;
        case Piece::Kind::Wide:
            text += piece.wide;
            break;
        }
    }
    return text;
}

const char* Advice(Action action, Cause cause) {
    switch (cause) {
    case Cause::InUse:
        return "Le fichier est utilisé par un autre programme : fermez PureBasic (ou le programme "
               "qui l'utilise), puis réessayez.";
    case Cause::AccessDenied:
        return "Vérifiez que le fichier n'est pas en lecture seule et que vous avez le droit de "
               "modifier ce dossier ; au besoin, lancez l'installateur en tant qu'administrateur.";
    case Cause::DiskFull:
        return "Le disque est plein : libérez de la place, puis réessayez.";
    case Cause::WriteProtected:
        return "Le disque est protégé en écriture : retirez la protection, puis réessayez.";
    case Cause::NotReady:
    case Cause::Unknown:
        break;
    }
    return action == Action::Install ? "Vérifiez le dossier choisi, puis relancez l'installation."
                                     : "Vérifiez le dossier choisi, puis relancez la désinstallation.";
}

}  // namespace

std::wstring DescribeProblem(Action action, const std::string& folder, const std::string& relativePath,
                             const FileProblem& problem) {
    const std::string target = TargetPath(folder, relativePath);
    const bool installing = action == Action::Install;
    const char* notDone = installing ? " n'a pas été installé" : " n'a pas été supprimé";
    switch (problem.kind) {
    case FileProblem::Kind::None:
        return {};
    case FileProblem::Kind::MissingFolder:
        return Compose({"Le fichier ", Quoted(relativePath), notDone, " : le dossier ",
                        Quoted(TargetPath(folder, RelativeFolder(relativePath))), " n'existe pas."});
    case FileProblem::Kind::PathTooLong:
        return Compose({"Le fichier ", Quoted(target), notDone,
                        " : son chemin est trop long pour Windows (plus de ", std::to_string(kLongestPath),
                        " caractères).\nChoisissez un dossier dont le chemin est plus court."});
    case FileProblem::Kind::TargetIsFolder:
        return Compose({"Le fichier ", Quoted(target), notDone,
                        " : un dossier porte déjà ce nom.\nRenommez ou déplacez ce dossier, puis réessayez."});
    case FileProblem::Kind::System:
        break;
    }
    const std::string code = std::to_string(problem.error);
    std::wstring reason = SystemErrorText(problem.error);
    if (reason.empty()) reason = UserText("erreur " + code);
    return Compose({"Le fichier ", Quoted(target), notDone, ".\nRaison : ", reason, " (code ", code, ")\n",
                    Advice(action, CauseOf(problem.error)),
                    installing ? "\nL'ancien fichier, s'il y en avait un, est resté tel quel." : ""});
}

std::wstring NotACompilerFolder(Action action, const std::string& folder) {
    return Compose({"Le dossier ", Quoted(folder), " ne ressemble pas à une installation de PureBasic : ",
                    action == Action::Install ? "relancez l'installation" : "relancez la désinstallation",
                    " et choisissez le dossier où PureBasic est installé."});
}

std::wstring FailureCaption(Action action) {
    return UserText(action == Action::Install ? "Installation incomplète" : "Désinstallation incomplète");
}

std::wstring FailureHeading(Action action) {
    return UserText(action == Action::Install ? "L'installation n'est pas terminée."
                                              : "La désinstallation n'est pas terminée.");
}
