#include "install/Messages.h"

#include "install/BlobWriter.h"
#include "install/Targets.h"
#include "platform/ErrorText.h"
#include "platform/Text.h"

std::wstring UserText(std::string_view text) { return text::FromWindows1252(text); }

namespace {

// The program's words and the system's paths meet here, each widened from its own encoding.
std::wstring Quoted(const std::string& path) { return UserText("« ") + text::FromAnsi(path) + UserText(" »"); }

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
    const std::wstring notDone = UserText(installing ? " n'a pas été installé" : " n'a pas été supprimé");
    switch (problem.kind) {
    case FileProblem::Kind::None:
        return {};
    case FileProblem::Kind::MissingFolder:
        return UserText("Le fichier ") + Quoted(relativePath) + notDone + UserText(" : le dossier ") +
               Quoted(TargetPath(folder, RelativeFolder(relativePath))) + UserText(" n'existe pas.");
    case FileProblem::Kind::PathTooLong:
        return UserText("Le fichier ") + Quoted(target) + notDone +
               UserText(" : son chemin est trop long pour Windows (plus de " + std::to_string(kLongestPath) +
                     " caractères).\n"
                     "Choisissez un dossier dont le chemin est plus court.");
    case FileProblem::Kind::TargetIsFolder:
        return UserText("Le fichier ") + Quoted(target) + notDone +
               UserText(" : un dossier porte déjà ce nom.\n"
                     "Renommez ou déplacez ce dossier, puis réessayez.");
    case FileProblem::Kind::System:
        break;
    }
    std::wstring reason = SystemErrorText(problem.error);
    if (reason.empty()) reason = UserText("erreur " + std::to_string(problem.error));
    std::wstring text = UserText("Le fichier ") + Quoted(target) + notDone + UserText(".\nRaison : ") + reason +
                        UserText(" (code " + std::to_string(problem.error) + ")\n") +
                        UserText(Advice(action, CauseOf(problem.error)));
    if (installing) text += UserText("\nL'ancien fichier, s'il y en avait un, est resté tel quel.");
    return text;
}

std::wstring NotACompilerFolder(Action action, const std::string& folder) {
    return UserText("Le dossier ") + Quoted(folder) + UserText(" ne ressemble pas à une installation de PureBasic : ") +
           UserText(action == Action::Install ? "relancez l'installation" : "relancez la désinstallation") +
           UserText(" et choisissez le dossier où PureBasic est installé.");
}

std::wstring FailureCaption(Action action) {
    return UserText(action == Action::Install ? "Installation incomplète" : "Désinstallation incomplète");
}

std::wstring FailureHeading(Action action) {
    return UserText(action == Action::Install ? "L'installation n'est pas terminée."
                                           : "La désinstallation n'est pas terminée.");
}
