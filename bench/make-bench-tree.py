#!/usr/bin/env python3
"""Makes a deterministic folder tree to run search-bench on.

usage: make-bench-tree.py ROOT [--files N] [--folders N] [--seed S]

By default 300,000 empty files in 20,000 folders up to 12 levels deep, spread unevenly
(some folders empty, a few crowded). About 5% of the names end in .txt in some mix of
case; near misses (.txt.bak, .text, names ending in 'txt') do not match '*.txt'. Some
names are hidden, hold blanks or letters outside ASCII. ROOT is emptied first.
Prints last: files=F folders=D txt_matches=M
"""
import argparse
import os
import random
import shutil

parser = argparse.ArgumentParser()
parser.add_argument("root")
parser.add_argument("--files", type=int, default=300_000)
parser.add_argument("--folders", type=int, default=20_000)
parser.add_argument("--seed", type=int, default=1440)
args = parser.parse_args()
rand = random.Random(args.seed)

PARTS = ["or", "vik", "sea", "rch", "doc", "pic", "mus", "bak", "new", "arc", "box", "lab",
         "net", "web", "log", "map", "kit", "run", "set", "tab", "van", "ix", "ud", "em"]
ODD = ["å", "ö", "é", "ñ", "ł", "ç"]
ENDINGS = [(".txt", 30), (".TXT", 12), (".tXt", 8), (".pdf", 120), (".png", 180), (".cpp", 160),
           (".h", 90), ("", 110), (".txt.bak", 25), (".text", 15), ("_txt", 15), (".md", 60)]


def name(shortest, longest):
    text = ""
    while len(text) < rand.randint(shortest, longest):
        text += rand.choice(PARTS)
        pick = rand.random()
        if pick < 0.08:
            text += " "
        elif pick < 0.20:
            text += rand.choice("_-")
        elif pick < 0.28:
            text += str(rand.randint(0, 999))
    text = text.strip()
    if rand.random() < 0.012:
        text = rand.choice(ODD) + text
    if rand.random() < 0.03:
        text = "." + text
    return text or "x"


root = os.path.abspath(args.root)
shutil.rmtree(root, ignore_errors=True)
os.makedirs(root)

# Folders: each new one goes under a random folder of the level above, so that the
# tree thickens in the middle levels and thins out at the bottom.
weights = [1, 6, 30, 90, 150, 175, 165, 135, 100, 70, 45, 33]
per_level = [max(1, args.folders * w // sum(weights)) for w in weights]
folders, above = [root], [root]
for count in per_level:
    level = []
    for _ in range(count):
        parent = rand.choice(above)
        for attempt in range(100):
            path = os.path.join(parent, name(3, 14))
            if not os.path.exists(path):
                os.mkdir(path)
                level.append(path)
                break
    folders += level
    above = level or above

crowd = [0.0 if rand.random() < 0.12 else rand.expovariate(1.0) ** 3 for _ in folders]
endings, ending_weights = zip(*ENDINGS)
files = matches = 0
for folder in rand.choices(folders, weights=crowd, k=args.files):
    file_name = name(3, 20) + rand.choices(endings, weights=ending_weights)[0]
    path = os.path.join(folder, file_name)
    if os.path.exists(path):
        continue
    open(path, "wb").close()
    files += 1
    matches += file_name.lower().endswith(".txt")
print(f"files={files} folders={len(folders)} txt_matches={matches}")
