// Shows whether the page runs inside the crv runtime.
document.getElementById("status").textContent =
  window.crv ? "Running inside crv." : "Running in a plain browser.";
