#!/usr/bin/env python3
"""Drives a packed app with WebDriver: types a note, clicks Save, reads where it went and opens the
About page. Usage: drive.py PACKAGE (needs WebKitWebDriver and Selenium; see the README)."""
import sys

from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait
from selenium.webdriver.webkitgtk.options import Options

options = Options()
options.binary_location = sys.argv[1]  # the package is the browser; it takes no arguments
options.set_capability("browserName", None)  # Selenium would ask for its own browser's name
driver = webdriver.WebKitGTK(options=options)
try:
    driver.find_element(By.ID, "note").send_keys("Buy milk")
    driver.find_element(By.ID, "save").click()
    result = WebDriverWait(driver, 10).until(lambda d: d.find_element(By.ID, "result").text)
    print(result)  # "Saved to /path/beside/the/package/note.txt"

    # The app's pages are crvfile: addresses to the driver.
    print(driver.current_url)  # crvfile:///index.html
    driver.get("crvfile:///about.html")
    print(driver.title)  # About Notes
finally:
    driver.quit()  # closes the window as its close box does: the program ends
