#pragma once
// Everything the installer says to the user, in French. The source is UTF-8 and the compiler
// turns it into Windows-1252 bytes, whatever the system's code page; they are widened from 1252
// on their way to the screen, so they read the same on a Japanese or a Russian system. The
// paths a message names are in the system's code page and are widened from it.
#include "install/FileProblem.h"

#include <string>
#include <string_view>

inline constexpr char kFolderPrompt[] = "Purebasic se trouve bien ici ?";
inline constexpr char kDoneCaption[] = "ok !";
inline constexpr char kInstallDone[] = "l'installation est terminé";
inline constexpr char kUninstallDone[] = " desinstallation terminé";

inline constexpr char kDamagedCaption[] = "Installateur endommagé";
inline constexpr char kDamagedText[] =
    "L'installateur est endommagé : les fichiers qu'il contient ne sont plus ceux d'origine.\n"
    "Aucun fichier n'a été écrit.\n\n"
    "Téléchargez l'installateur à nouveau.";

inline constexpr char kUncheckedCaption[] = "Vérification impossible";
inline constexpr char kUncheckedText[] =
    "L'installateur n'a pas pu vérifier que les fichiers qu'il contient sont intacts : Windows n'a "
    "pas pu en calculer l'empreinte (SHA-256).\n"
    "Aucun fichier n'a été écrit.\n\n"
    "Redémarrez Windows, puis relancez l'installation.";

inline constexpr char kFolderCaption[] = "Dossier non utilisable";
inline constexpr char kNotOnDiskText[] =
    "Le dossier choisi n'est pas un dossier du disque.\n"
    "Aucun fichier n'a été modifié. Choisissez le dossier où PureBasic est installé.";
inline constexpr char kNotAnsiText[] =
    "Le chemin du dossier choisi contient des caractères que l'installateur ne sait pas écrire.\n"
    "Aucun fichier n'a été modifié. Choisissez un dossier dont le chemin n'a que des lettres "
    "d'Europe occidentale, ou renommez le dossier.";
inline constexpr char kNoBrowserText[] =
    "Le sélecteur de dossier de Windows n'a pas pu être ouvert.\n"
    "Aucun fichier n'a été modifié.";

// One of the texts above, as the user reads it.
std::wstring UserText(std::string_view text);

// One paragraph: which file, why (the system's words for a system error), what to do.
std::wstring DescribeProblem(Action action, const std::string& folder, const std::string& relativePath,
                             const FileProblem& problem);

// Said once after the problems when a subfolder the compiler always has was missing.
std::wstring NotACompilerFolder(Action action, const std::string& folder);

std::wstring FailureCaption(Action action);
std::wstring FailureHeading(Action action);
