#!/usr/bin/env python3
"""Checks a built program's manifest and version texts.

    check_resources.py PROGRAM.exe ORIGINAL_FILENAME VERSION [--dialog]

--dialog: the program shows windows, so it also asks for Common Controls 6 and GDI scaling,
and keeps the system's code page; without it, the console program asks for the UTF-8 code
page and long paths.
"""
import os
import sys
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
import pe_resources  # noqa: E402

SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  # Vista
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # 10 and 11
}
GDI_SCALING = "{http://schemas.microsoft.com/SMI/2017/WindowsSettings}gdiScaling"
CODE_PAGE = "{http://schemas.microsoft.com/SMI/2019/WindowsSettings}activeCodePage"
LONG_PATHS = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}longPathAware"
VERSION_NAMES = ("CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright",
                 "OriginalFilename", "ProductName", "ProductVersion")


def local(tag):
    return tag.rsplit("}", 1)[-1]


def problems(path, original_filename, version, dialog):
    manifest, texts = pe_resources.read(path)
    if manifest is None:
        yield "no manifest (resource 1 of type 24)"
        return
    root = ElementTree.fromstring(manifest)
    elements = list(root.iter())
    # Without an execution level, Windows virtualizes the program as it does the game.
    for element in elements:
        if local(element.tag) == "requestedExecutionLevel":
            yield f"the manifest names an execution level: {element.attrib}"
        if local(element.tag) in ("dpiAware", "dpiAwareness"):
            yield "the manifest makes the program DPI-aware"
    named = {e.get("Id") for e in elements if local(e.tag) == "supportedOS"}
    if named != SUPPORTED_OS:
        yield f"supportedOS names {sorted(named)}"
    controls = [e.attrib for e in elements
                if local(e.tag) == "assemblyIdentity" and e.get("name") == "Microsoft.Windows.Common-Controls"]
    scaling = [e.text for e in elements if e.tag == GDI_SCALING]
    if dialog:
        if not any(c.get("version") == "6.0.0.0" and c.get("processorArchitecture") == "*" for c in controls):
            yield f"no dependency on Common Controls 6.0.0.0 for every processor: {controls}"
        if scaling != ["true"]:
            yield f"gdiScaling is {scaling}, not true"
    elif controls or scaling:
        yield "a console program asks for Common Controls or GDI scaling"
    code_page = [e.text for e in elements if e.tag == CODE_PAGE]
    long_paths = [e.text for e in elements if e.tag == LONG_PATHS]
    if dialog and (code_page or long_paths):
        yield "the dialog program leaves the system's code page or path length"
    if not dialog and (code_page != ["UTF-8"] or long_paths != ["true"]):
        yield f"activeCodePage is {code_page} and longPathAware {long_paths}, not UTF-8 and true"

    for name in VERSION_NAMES:
        if not texts.get(name):
            yield f"no {name} in the version texts"
    if texts.get("OriginalFilename") != original_filename:
        yield f"OriginalFilename is {texts.get('OriginalFilename')!r}"
    if texts.get("ProductVersion") != version or not texts.get("FileVersion", "").startswith(version + "."):
        yield f"versions {texts.get('FileVersion')!r} and {texts.get('ProductVersion')!r}, not {version}"


def main():
    path, original_filename, version = sys.argv[1:4]
    found = list(problems(path, original_filename, version, "--dialog" in sys.argv[4:]))
    for problem in found:
        print(f"{path}: {problem}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
