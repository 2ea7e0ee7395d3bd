#!/usr/bin/env python3
"""Checks every include of the layer libraries against the links of the build.

    python3 scripts/check_layers.py BUILD_DIR/generated/layers.txt SOURCE_DIR

layers.txt is written by CMake: one line per layer library with its folders,
the folders it leaves to other layers and the layers it links. A file of a
layer may include files of its own layer and of the layers it links (directly
or through them); anything else reaches upwards or sideways and is reported.
Exits 1 when an include breaks the layering.
"""
import os
import re
import sys

INCLUDE_RE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def read_layers(path):
    layers = {}
    for line in open(path):
        fields = dict(f.split('=', 1) for f in line.split())
        name = fields.pop('name')
        layers[name] = {k: [v for v in vals.split(',') if v] for k, vals in fields.items()}
    return layers


def layer_of(rel, layers):
    best, depth = None, -1
    for name, l in layers.items():
        for d in l['dirs']:
            if (rel + '/').startswith(d + '/') and not any((rel + '/').startswith(x + '/') for x in l['exclude']):
                if d.count('/') > depth:
                    best, depth = name, d.count('/')
    return best


def reachable(name, layers):
    seen, todo = set(), [name]
    while todo:
        for dep in layers.get(todo.pop(), {}).get('links', []):
            if dep in layers and dep not in seen:
                seen.add(dep)
                todo.append(dep)
    return seen


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    layers = read_layers(sys.argv[1])
    root = os.path.abspath(sys.argv[2])
    allowed = {n: reachable(n, layers) | {n} for n in layers}
    bad = 0
    checked = 0
    for name, l in sorted(layers.items()):
        for d in l['dirs']:
            for dirpath, _, files in os.walk(os.path.join(root, d)):
                for f in sorted(files):
                    if not f.endswith(('.h', '.cpp', '.c')):
                        continue
                    rel = os.path.relpath(os.path.join(dirpath, f), root)
                    if layer_of(rel, layers) != name:
                        continue
                    for n, line in enumerate(open(os.path.join(root, rel), errors='replace'), 1):
                        m = INCLUDE_RE.match(line)
                        if not m:
                            continue
                        inc = m.group(1)
                        if not os.path.exists(os.path.join(root, inc)):
                            continue  # generated, moc or system header
                        checked += 1
                        target = layer_of(inc, layers)
                        if target is None or target in allowed[name]:
                            continue
                        bad += 1
                        print('%s:%d: %s includes %s of %s, which it does not link'
                              % (rel, n, name, inc, target))
    print('%d includes of %d layers checked, %d against the layering' % (checked, len(layers), bad))
    return 1 if bad else 0


if __name__ == '__main__':
    sys.exit(main())
