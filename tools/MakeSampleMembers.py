#!/usr/bin/env python3
"""Fills the demo directory (resources/sample/members.json) with generated staff members.

The hand-written members stay as they are; generated ones (numbers "3...") are replaced, so the
script may be run again. The names are invented from common surnames and given-name characters,
with some Latin names, a few names of digits, names with brackets and spaces, empty names and
one member without a name, so that the indexed list and the search have something to show.

    python3 tools/MakeSampleMembers.py resources/sample
"""

import json
import random
import sys
from pathlib import Path

SURNAMES = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤"
GIVEN = "伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉萍红娥玲芬燕彬鹏辉建国志宇晨欣怡浩然子涵梓睿思远雨萱嘉懿俊豪婉清晓东一鸣文博佳琪诗雨天佑"
LATIN = ["Tom Lee", "tom", "JOHN", "Anna Schmidt", "mary", "Peter", "Lucy Chen", "DAVID",
         "Emma", "oliver", "Sophie Martin", "Jack", "Grace", "LIAM", "Noah Wang"]
ODD = ["301", "2号楼值班室", "(王五)", "张 三", "  李 四  ", "Tom张", "【值班】赵六", "", " ",
       "9527", "𠀀宝", "欧阳 晓燕"]
POSTS = ["教师", "副教授", "教授", "讲师", "科员", "副主任", "主任", "辅导员", "实验员", ""]


def phone(rng, prefix):
    return prefix + "".join(rng.choice("0123456789") for _ in range(11 - len(prefix)))


def member(rng, number, name, org, org_name):
    m = {
        "rybh": str(number),
        "xm": name,
        "zzmc": org_name,
        "xzzw": rng.choice(POSTS),
        "unicom": phone(rng, "130") if rng.random() < 0.3 else "",
        "cmcc": phone(rng, "138") if rng.random() < 0.5 else "",
        "chinaNet": phone(rng, "133") if rng.random() < 0.3 else "",
        "officePhone": "0571-8629%04d" % rng.randrange(10000) if rng.random() < 0.6 else "",
        "officePhone2": "0571-8630%04d" % rng.randrange(10000) if rng.random() < 0.1 else "",
        "housePhone": "",
        "cmccShort": "66%04d" % rng.randrange(10000) if rng.random() < 0.4 else "",
        "chinanetShort": "",
        "unicomShort": "",
        "jgdm": org,
    }
    return m


def main():
    directory = Path(sys.argv[1] if len(sys.argv) > 1 else "resources/sample")
    rng = random.Random(20240401)
    categories = json.loads((directory / "org-categories.json").read_text("utf-8"))["orgcategory"]
    path = directory / "members.json"
    data = json.loads(path.read_text("utf-8"))
    members = data["members"]
    for org in members:
        members[org] = [m for m in members[org] if not m.get("rybh", "").startswith("3")]

    number = 30000000
    odd = list(ODD)
    latin = list(LATIN)
    # The last category stays without members: it shows the empty-result picture.
    for index, category in enumerate(categories[:-1]):
        org, org_name = category["lbdm"], category["zzmc"]
        people = members.setdefault(org, [])
        for i in range(25 + 7 * index):
            number += 1
            if odd and i % 9 == 4:
                name = odd.pop(0)
            elif latin and i % 6 == 2:
                name = latin.pop(0)
            else:
                name = rng.choice(SURNAMES) + "".join(
                    rng.choice(GIVEN) for _ in range(rng.choice((1, 2, 2))))
            people.append(member(rng, number, name, org, org_name))
    # One member the service sent without a name.
    number += 1
    nameless = member(rng, number, "", "1005", "信息工程学院")
    del nameless["xm"]
    members["1005"].append(nameless)

    path.write_text(json.dumps(data, ensure_ascii=False, indent=2) + "\n", "utf-8")
    total = sum(len(people) for people in members.values())
    print("wrote %d members in %d organisations to %s" % (total, len(members), path))


if __name__ == "__main__":
    main()
