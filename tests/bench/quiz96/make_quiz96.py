#!/usr/bin/python3
"""Writes quiz96.toml: the sample quiz's 21 fruits (with their pictures)
followed by 75 questions without overlays, 96 in all, for the start-up
benchmark. Run by hand; the benchmark reads what it wrote."""
import re

source = open("../../../quizzes/fruits/fruits.toml", encoding="utf-8").read()
head, *questions = source.split("[[question]]")
head = re.sub(r'executable = "fruits"', 'executable = "quiz96"', head)
head = re.sub(r'title = "Les fruits"', 'title = "Quatre-vingt-seize"', head)
head = head.replace('"images/', '"../../../quizzes/fruits/images/')
head = re.sub(r"^#.*\n", "", head, flags=re.M)
out = ["# Made by make_quiz96.py: 96 questions for the start-up benchmark.\n", head]
for q in questions:
    out.append("[[question]]" + q.replace('"images/', '"../../../quizzes/fruits/images/'))
units = ["ZERO", "UN", "DEUX", "TROIS", "QUATRE", "CINQ", "SIX", "SEPT", "HUIT", "NEUF"]
for k in range(22, 97):
    answer = f"NOMBRE {units[k // 10]} {units[k % 10]}"
    out.append(f'[[question]]\nanswer = "{answer}"\ntext = "La question {k}."\n'
               f'code = "CODE {k}"\n\n')
open("quiz96.toml", "w", encoding="utf-8").write("".join(out).rstrip() + "\n")
