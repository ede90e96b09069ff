"""The start-up dialog: localized title and captions, and the results of its buttons and keys."""
import subprocess

import pytest

from harness import Run


def show(app, *args, lang="C.UTF-8"):
    proc = subprocess.Popen([str(app.fixture_dir / "dialog_probe"), *args], env=app.env(LANG=lang),
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    run = Run(proc, app.desktop)
    app.runs.append(run)
    return run


@pytest.mark.parametrize("keys, result", [
    (["Return"], 6),      # the default button is Yes
    (["Escape"], 2),      # Escape declines
    (["alt+F4"], 2),      # so does the close box
    (["Tab", "Return"], 2),
])
def test_confirmation_results(app, keys, result):
    run = show(app, "confirm", "7", "2", "3", "4")
    app.desktop.keys(run.window("^Confirm$"), *keys)
    code, out, err = run.wait()
    assert (code, out.strip()) == (0, str(result))
    assert err.startswith("Confirm: The Microsoft WebView2 runtime is required to run this application. "
                          "Do you want to install it now? [Accept] [Cancel]")


def test_captions_follow_the_locale_not_the_toolkit(app):
    run = show(app, "confirm", "7", "2", "3", "4", lang="fr_FR.UTF-8")
    app.desktop.keys(run.window("^Confirmer$"), "Escape")
    code, out, err = run.wait()
    assert out.strip() == "2"
    assert "[J'accepte] [Annuler]" in err
