// The start-up messages in six languages, the choice of language and the message dialog.
#include "runtime/LocalizedMessages.h"

#include <stdexcept>

#include "platform/Locale.h"

namespace Corvane::Runtime {

// Entry 0 is the language code; then the error title, the confirmation title, the accepting and the
// cancelling caption, and the texts: no archive, runtime missing, install now?, declined, still
// missing after the installer.
// clang-format off
const TMessageTable DefaultMessages = {
    "en",
    "Error",
    "Confirm",
    "Accept",
    "Cancel",
    "This is not a valid Windows application.",
    "The Microsoft WebView2 runtime is required to run this application. This application cannot continue and will be closed now.",
    "The Microsoft WebView2 runtime is required to run this application. Do you want to install it now?",
    "This application cannot continue and will be closed now.",
    "You cancel the installation of Microsoft WebView2 runtime, This application cannot continue and will be closed now.",
};

const std::array<TMessageTable, 5> TranslatedMessages = {{
    { // Spanish
        "es",
        "Error",
        "Confirmar",
        "Aceptar",
        "Cancelar",
        "Esta no es una aplicación de Windows válida.",
        "El Microsoft WebView2 runtime es necesario para esta aplicación. Esta aplicación no puede continuar y se cerrará ahora.",
        "El Microsoft WebView2 runtime es necesario para esta aplicación. ¿Quiere instalarlo ahora?",
        "Esta aplicación no puede continuar y se cerrará ahora.",
        "Ha cancelado la instalación de Microsoft WebView2 runtime. Esta aplicación no puede continuar y se cerrará ahora.",
    },
    { // Italian
        "it",
        "Errore",
        "Confermare",
        "Accettare",
        "Annulla",
        "Questa non è un'applicazione Windows valida.",
        "Il runtime di Microsoft WebView2 è necessario per eseguire questa applicazione. Questa applicazione non può continuare e verrà chiusa ora.",
        "Il runtime di Microsoft WebView2 è necessario per eseguire questa applicazione. Vuoi installarlo ora?",
        "Questa applicazione non può continuare e verrà chiusa ora.",
        "Annulla l'installazione del runtime di Microsoft WebView2, questa applicazione non può continuare e verrà chiusa ora.",
    },
    { // German
        "de",
        "Error",
        "Bestätigen",
        "Akzeptieren",
        "Stornieren",
        "Dies ist keine gültige Windows-Anwendung.",
        "Die Microsoft WebView2-Laufzeit ist erforderlich, um diese Anwendung auszuführen. Diese Anwendung kann nicht fortgesetzt werden und wird jetzt geschlossen.",
        "Die Microsoft WebView2-Laufzeit ist erforderlich, um diese Anwendung auszuführen. Möchten Sie es jetzt installieren?",
        "Diese Anwendung kann nicht fortgesetzt werden und wird jetzt geschlossen.",
        "Sie brechen die Installation der Microsoft WebView2-Laufzeit ab. Diese Anwendung kann nicht fortgesetzt werden und wird jetzt geschlossen.",
    },
    { // French
        "fr",
        "Erreur",
        "Confirmer",
        "J'accepte",
        "Annuler",
        "Ce n'est pas une application Windows valide.",
        "Le runtime Microsoft WebView2 est requis pour exécuter cette application. Cette application ne peut pas continuer et sera fermée maintenant.",
        "Le runtime Microsoft WebView2 est requis pour exécuter cette application. Voulez-vous l'installer maintenant?",
        "Cette application ne peut pas continuer et sera fermée maintenant.",
        "Vous annulez l'installation du runtime Microsoft WebView2. Cette application ne peut pas continuer et sera fermée maintenant.",
    },
    { // Chinese
        "zh",
        "错误",
        "确认",
        "接受",
        "取消",
        "这不是有效的Windows应用程序。",
        "运行此应用程序需要Microsoft WebView2运行时。 该应用程序无法继续，将立即关闭。",
        "运行此应用程序需要Microsoft WebView2运行时。 您要立即安装吗？",
        "此应用程序无法继续，将立即关闭。",
        "您取消了Microsoft WebView2运行时的安装，此应用程序无法继续，将立即关闭。",
    },
}};
// clang-format on

std::string GetUserLanguageCode() {
    return Platform::UserLanguageName();
}

std::string GetLocalizedMessageFor(const std::string& languageCode, int messageIndex) {
    if (messageIndex < 0 || static_cast<size_t>(messageIndex) >= DefaultMessages.size())
        throw std::out_of_range("MessageIndex is out of range!");
    const auto index = static_cast<size_t>(messageIndex);
    for (const TMessageTable& table : TranslatedMessages)
        if (languageCode == table[0]) return table[index];
    return DefaultMessages[index];
}

std::string GetLocalizedMessage(int messageIndex) {
    return GetLocalizedMessageFor(GetUserLanguageCode(), messageIndex);
}

int CustomMessageDlg(const std::string& msg, Platform::TDialogKind dlgType,
                     const std::vector<Platform::TDialogButton>& buttons,
                     const std::vector<std::string>& buttonCaptions, const std::string& caption) {
    Platform::TMessageDialogOptions options;
    options.Text = msg;
    options.Title = caption;
    options.Kind = dlgType;
    options.Buttons = buttons;
    options.ButtonCaptions = buttonCaptions;
    return Platform::ShowMessageDialog(options);
}

} // namespace Corvane::Runtime
