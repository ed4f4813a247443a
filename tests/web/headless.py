"""Debian's Chromium, headless, quiet (no network of its own), with a
profile of its own, as the browser tests and the web benchmark drive it."""
import os

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service


def chromium(scratch, prefs=None):
    options = Options()
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--user-data-dir=" + os.path.join(scratch, "profile")):
        options.add_argument(flag)
    options.binary_location = "/usr/bin/chromium"
    if prefs:
        options.add_experimental_option("prefs", prefs)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
