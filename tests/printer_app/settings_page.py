#!/usr/bin/python3
"""The settings page as a browser user meets it: headless Chromium through
Selenium, axe-core run in the page. Types 縦点間 2.5 and sees the whole-step
value 2.54 and the capacity follow, saves, is refused with the dialog's
message for a value out of range (what was typed stays), downloads the
settings as .brs and uploads one.

usage: settings_page.py BASE_URL AXE_JS WORK_DIR
"""
import sys
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.common.exceptions import NoSuchElementException, StaleElementReferenceException
from selenium.webdriver.common.by import By
from selenium.webdriver.support import expected_conditions
from selenium.webdriver.support.ui import WebDriverWait

base, axe_js, work = sys.argv[1], sys.argv[2], sys.argv[3]


def fail(why):
    print("FAIL: " + why, file=sys.stderr)
    sys.exit(1)


options = webdriver.ChromeOptions()
for a in ("--headless=new", "--no-sandbox", "--lang=ja", "--disable-gpu", "--user-data-dir=" + work + "/chromium"):
    options.add_argument(a)
options.binary_location = "/usr/bin/chromium"
driver = webdriver.Chrome(service=Service(executable_path="/usr/bin/chromedriver"), options=options)
driver.set_script_timeout(30)
wait = WebDriverWait(driver, 30, ignored_exceptions=(NoSuchElementException, StaleElementReferenceException))
axe = open(axe_js, encoding="utf-8").read()


def no_violations(where):
    driver.execute_script(axe)
    result = driver.execute_async_script(
        "var done = arguments[arguments.length - 1];"
        "axe.run(document, {resultTypes: ['violations']}).then(function (r) { done(r.violations); });")
    if result:
        fail("%s: axe finds %s" % (where, "; ".join("%s (%s)" % (v["id"], v["nodes"][0]["target"]) for v in result)))


def text_of(element_id):
    return driver.find_element(By.ID, element_id).text


def submit(form_id):
    """Sends the form and waits for the answer's page to replace this one."""
    form = driver.find_element(By.ID, form_id)
    form.find_element(By.CSS_SELECTOR, "input[type=submit]").click()
    wait.until(expected_conditions.staleness_of(form))


def retype(element_id, text):
    field = driver.find_element(By.ID, element_id)
    field.clear()
    field.send_keys(text)


try:
    driver.get(base + "/tenjiprint")
    if driver.find_element(By.TAG_NAME, "html").get_attribute("lang") != "ja":
        fail("the page is not marked Japanese")
    no_violations("the settings page")

    retype("TEN_HEIGHT", "2.5")
    wait.until(lambda d: text_of("TEN_HEIGHT-step") == "2.54")
    wait.until(lambda d: text_of("capacity") == "32マス × 21行")
    submit("tenji-form")
    wait.until(lambda d: "保存しました" in text_of("tenji-message"))
    if "印刷できるマス数：32マス" not in text_of("tenji-message") or "行数：21行" not in text_of("tenji-message"):
        fail("the saved message does not give the capacity: " + text_of("tenji-message"))
    if driver.find_element(By.ID, "TEN_HEIGHT").get_attribute("value") != "2.54":
        fail("the saved page does not show the whole-step value 2.54")
    no_violations("the page after saving")

    retype("GYO_BETWEEN", "９．５")  # full-width, and out of range
    wait.until(lambda d: text_of("live-message") == "行間の値が範囲内ではありません。")
    submit("tenji-form")
    wait.until(lambda d: d.find_element(By.ID, "tenji-message").get_attribute("role") == "alert")
    if text_of("tenji-message") != "行間の値が範囲内ではありません。":
        fail("a value out of range: " + text_of("tenji-message"))
    if driver.find_element(By.ID, "GYO_BETWEEN").get_attribute("value") != "９．５":
        fail("what was typed was not kept after the refusal")
    no_violations("the page with a refusal")

    brs = urllib.request.urlopen(base + "/tenjiprint/tenjiprint.brs").read().decode()
    if "TEN_HEIGHT=2.54" not in brs or "GYO_BETWEEN=6.03" not in brs:
        fail("the .brs download is not the saved settings: " + brs[:120])

    upload = work + "/upload.brs"
    with open(upload, "w", newline="") as f:
        f.write(brs.replace("TEN_HEIGHT=2.54", "TEN_HEIGHT=2.86"))
    driver.get(base + "/tenjiprint")
    driver.find_element(By.ID, "brs").send_keys(upload)
    submit("tenji-upload")
    wait.until(lambda d: "読み込んで保存しました" in text_of("tenji-message"))
    if driver.find_element(By.ID, "TEN_HEIGHT").get_attribute("value") != "2.86":
        fail("the uploaded .brs was not taken")

    # Back to 2.54 for the print that follows.
    retype("TEN_HEIGHT", "2.5")
    submit("tenji-form")
    wait.until(lambda d: "保存しました" in text_of("tenji-message"))
    print("settings page: 2.5 → 2.54 live and saved, refusal kept the typed ９．５, .brs down and up, no axe violation")
finally:
    driver.quit()
