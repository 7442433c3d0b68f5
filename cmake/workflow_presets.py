"""Checks GitHub workflow files, for the lint (cmake/lint.cmake): each parses
as YAML, and every CMake preset that its steps run (cmake --preset,
cmake --build --preset, cmake --workflow --preset, ctest --preset) is a
preset of that kind that CMakePresets.json has and does not hide.

usage: python3 workflow_presets.py PRESETS_JSON WORKFLOW...
"""
import json
import re
import sys

import yaml

KINDS = {"configure": "configurePresets", "build": "buildPresets",
         "test": "testPresets", "workflow": "workflowPresets"}
# cmake or ctest (perhaps with a folder or .exe) and its arguments.
COMMAND = re.compile(r"(?:^|[\s/\\])(cmake|ctest)(?:\.exe)?\s+(.*)")


def scripts(node):
    """The run scripts anywhere in a parsed workflow."""
    if isinstance(node, dict):
        for key, value in node.items():
            if key == "run" and isinstance(value, str):
                yield value
            else:
                yield from scripts(value)
    elif isinstance(node, list):
        for item in node:
            yield from scripts(item)


def presets_named(script):
    """(kind, name) for each preset a script's command lines run."""
    for line in script.splitlines():
        match = COMMAND.search(line)
        if not match:
            continue
        program, words = match.group(1), match.group(2).split()
        if program == "ctest":
            kind = "test"
        else:
            kind = next((w[2:] for w in words if w in ("--build", "--workflow")),
                        "configure")
        for i, word in enumerate(words):
            if word.startswith("--preset="):
                yield kind, word.split("=", 1)[1]
            elif word == "--preset" and i + 1 < len(words):
                yield kind, words[i + 1]


def main(presets_file, workflows):
    with open(presets_file, encoding="utf-8") as file:
        presets = json.load(file)
    usable = {kind: {p["name"] for p in presets.get(key, []) if not p.get("hidden")}
              for kind, key in KINDS.items()}
    problems = []
    for workflow in workflows:
        try:
            with open(workflow, encoding="utf-8") as file:
                parsed = yaml.safe_load(file)
        except (OSError, yaml.YAMLError) as error:
            problems.append(f"{workflow}: cannot be read as YAML: {error}")
            continue
        named = [use for script in scripts(parsed) for use in presets_named(script)]
        if not named:
            problems.append(f"{workflow}: runs no CMake preset, so nothing here checks it")
        for kind, name in named:
            if name not in usable[kind]:
                problems.append(f"{workflow}: runs the {kind} preset '{name}', "
                                f"which {presets_file} does not have")
            else:
                print(f"{workflow}: the {kind} preset '{name}' exists")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) < 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        sys.exit(2)
    sys.exit(main(sys.argv[1], sys.argv[2:]))
